#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/automation/object_ref.h"
#include "platform/automation/variant.h"
#include "platform/regex/reg_exp.h"
#include "platform/types.h"

namespace zendra {

// A search with the regular-expression component and what it found. Every operation works
// on what the last Search left; indexes count from 1; failures give empty values.
class RegexObject {
 public:
  RegexObject() noexcept;
  ~RegexObject();
  // Shares the engine and the matches, copies the subject. The copy initialises the
  // automation layer itself, because its destruction uninitialises it like any other.
  RegexObject(const RegexObject& other) noexcept;
  RegexObject& operator=(const RegexObject& other) noexcept;

  // With unquote, each quote placeholder in the pattern stands for a double quote.
  bool Search(std::string_view pattern, std::string_view subjectText, bool caseSensitive = false,
              bool multiline = true, bool global = true, bool unquote = false);
  Text GetPattern();
  Text ReplaceMatches(std::optional<std::string_view> replacement = std::nullopt);
  std::int32_t GetMatchCount();
  // `position`, when asked for, receives the byte position (from 0) of the first text equal
  // to the result found from the match's FirstIndex on; -2 when there is none.
  Text GetMatchText(std::int32_t matchIndex, std::int32_t* position = nullptr);
  Text GetSubMatchText(std::int32_t matchIndex, std::int32_t groupIndex,
                       std::int32_t* position = nullptr);
  std::int32_t GetSubMatchCount();

  ObjectRef<RegExp> engine;
  ObjectRef<MatchCollection> matches;
  Variant subject{std::int32_t{0}};

 private:
  std::int32_t BytePosition(const Text& found, const ObjectRef<Match>& match);
};

}  // namespace zendra
