#pragma once

#include "platform/automation/object_ref.h"
#include "platform/automation/variant.h"
#include "platform/types.h"

namespace zendra {

// The JavaScript script host component. Global variables persist between calls.
class ScriptHost : public AutomationObject {
 public:
  // Accepts "JavaScript".
  virtual bool SetLanguage(const Text& language) = 0;
  // Runs global code; its result is ignored.
  virtual bool AddCode(const Text& code) = 0;
  // Evaluates global code (statement lists and var declarations allowed) and gives its
  // completion value; undefined, null and a script error give the empty Variant.
  virtual Variant Eval(const Text& code) = 0;
};

}  // namespace zendra
