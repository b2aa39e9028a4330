#pragma once

#include <cstdint>

#include "platform/automation/object_ref.h"
#include "platform/automation/variant.h"
#include "platform/types.h"

namespace zendra {

// The groups of one match; a group that took no part in the match is an empty Variant.
class SubMatchCollection : public AutomationObject {
 public:
  virtual std::int32_t Count() = 0;
  virtual Variant Item(std::int32_t index) = 0;  // from 0
};

class Match : public AutomationObject {
 public:
  virtual Variant Value() = 0;
  virtual std::int32_t FirstIndex() = 0;  // from 0, in UTF-16 units of the subject
  virtual ObjectRef<SubMatchCollection> SubMatches() = 0;
};

class MatchCollection : public AutomationObject {
 public:
  virtual std::int32_t Count() = 0;
  virtual ObjectRef<Match> Item(std::int32_t index) = 0;  // from 0
};

// The regular-expression engine component. Patterns mean what they mean to a
// JavaScript RegExp. Failures give the empty value of the result kind.
class RegExp : public AutomationObject {
 public:
  virtual bool IgnoreCase() = 0;
  virtual bool SetIgnoreCase(bool value) = 0;
  virtual bool Multiline() = 0;
  virtual bool SetMultiline(bool value) = 0;
  virtual bool Global() = 0;
  virtual bool SetGlobal(bool value) = 0;
  virtual Text Pattern() = 0;
  virtual bool SetPattern(const Text& pattern) = 0;
  virtual ObjectRef<MatchCollection> Execute(const Variant& subject) = 0;
  // JavaScript replacement syntax: $1 to $99, $&, $`, $', $$.
  virtual Text Replace(const Variant& subject, const Variant& replacement) = 0;
};

}  // namespace zendra
