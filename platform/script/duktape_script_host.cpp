#include "platform/script/duktape_script_host.h"

namespace zendra {

// Placeholder until the component lands: creation fails.
ObjectRef<ScriptHost> MakeDuktapeScriptHost() noexcept { return ObjectRef<ScriptHost>(); }

}  // namespace zendra
