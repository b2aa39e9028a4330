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
  // Sets the global variable `name` to the text as a string value. A long text (a whole
  // answer) so reaches the engine as data, without being escaped into and compiled as
  // source, which costs several times its size.
  virtual bool SetGlobalText(const Text& name, const Text& text) = 0;
};

// Marks global code that every new host runs (a library) as worth compiling once per
// process; any other code is compiled each time, so nothing of an answer outlives its host.
void KeepCompiledForNewHosts(const Text& code);

}  // namespace zendra
