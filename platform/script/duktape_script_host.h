#pragma once

#include "platform/script/script_host.h"

namespace zendra {

ObjectRef<ScriptHost> MakeDuktapeScriptHost() noexcept;

}  // namespace zendra
