#pragma once

#include <cstddef>

#include "platform/script/script_host.h"

namespace zendra {

// Memory one script host may hold; beyond it a script fails with an error.
inline constexpr std::size_t kScriptMemoryCeiling = std::size_t{256} << 20;

// A new JavaScript host with a heap of its own; empty when the engine cannot start.
ObjectRef<ScriptHost> MakeDuktapeScriptHost() noexcept;
ObjectRef<ScriptHost> MakeDuktapeScriptHostWithCeiling(std::size_t memoryCeiling) noexcept;

}  // namespace zendra
