#include "text/regex_object.h"

#include "platform/automation/com_init.h"
#include "platform/automation/factories.h"
#include "text/quote_placeholder.h"
#include "text/text_primitives.h"

namespace zendra {
namespace {

// The component's index (from 0) for an index from 1; out-of-range values stay out of range
// instead of overflowing.
std::int32_t ItemIndex(std::int32_t indexFromOne) noexcept {
  return indexFromOne <= 0 ? -1 : indexFromOne - 1;
}

}  // namespace

RegexObject::RegexObject() noexcept { CoInitialize(); }

RegexObject::~RegexObject() {
  engine.Clear();
  matches.Clear();
  subject.Clear();
  CoUninitialize();
}

RegexObject::RegexObject(const RegexObject& other) noexcept
    : engine(other.engine), matches(other.matches), subject(other.subject) {
  CoInitialize();
}

RegexObject& RegexObject::operator=(const RegexObject& other) noexcept {
  engine = other.engine;
  matches = other.matches;
  subject = other.subject;
  return *this;
}

bool RegexObject::Search(std::string_view pattern, std::string_view subjectText, bool caseSensitive,
                         bool multiline, bool global, bool unquote) {
  engine.Clear();
  matches.Clear();
  engine = CreateRegExp();
  engine.Call(&RegExp::SetIgnoreCase, !caseSensitive);
  engine.Call(&RegExp::SetMultiline, multiline);
  engine.Call(&RegExp::SetGlobal, global);
  const Text effective =
      unquote ? ReplaceText(pattern, QuotePlaceholder(), "\"", std::nullopt, std::nullopt, true)
              : Text(pattern);
  engine.Call(&RegExp::SetPattern, effective);
  subject = Variant(Text(subjectText));
  matches = engine.Call(&RegExp::Execute, subject);
  return !matches.IsEmpty();
}

Text RegexObject::GetPattern() {
  if (engine.IsEmpty()) return Text();
  return engine.Call(&RegExp::Pattern);
}

Text RegexObject::ReplaceMatches(std::optional<std::string_view> replacement) {
  return engine.Call(&RegExp::Replace, subject,
                     Variant(Text(replacement.value_or(std::string_view()))));
}

std::int32_t RegexObject::GetMatchCount() { return matches.Call(&MatchCollection::Count); }

Text RegexObject::GetMatchText(std::int32_t matchIndex, std::int32_t* position) {
  const ObjectRef<Match> match = matches.Call(&MatchCollection::Item, ItemIndex(matchIndex));
  const Text found = match.Call(&Match::Value).AsText();
  if (position != nullptr) *position = BytePosition(found, match);
  return found;
}

Text RegexObject::GetSubMatchText(std::int32_t matchIndex, std::int32_t groupIndex,
                                  std::int32_t* position) {
  const ObjectRef<Match> match = matches.Call(&MatchCollection::Item, ItemIndex(matchIndex));
  const ObjectRef<SubMatchCollection> groups = match.Call(&Match::SubMatches);
  const Text found = groups.Call(&SubMatchCollection::Item, ItemIndex(groupIndex)).AsText();
  if (position != nullptr) *position = BytePosition(found, match);
  return found;
}

std::int32_t RegexObject::GetSubMatchCount() {
  const ObjectRef<Match> first = matches.Call(&MatchCollection::Item, 0);
  return first.Call(&Match::SubMatches).Call(&SubMatchCollection::Count);
}

std::int32_t RegexObject::BytePosition(const Text& found, const ObjectRef<Match>& match) {
  // FirstIndex counts UTF-16 units, never more than the bytes in front of the match, so a
  // search for the found text from there lands on the match or shortly before it.
  const Text searched = subject.AsText();
  const std::int32_t start = match.Call(&Match::FirstIndex);
  // The engine's IgnoreCase, as the platform turns a boolean into text ("-1" or "0").
  const bool ignoreCase = Variant(engine.Call(&RegExp::IgnoreCase)).AsText() == "0";
  return FindText(searched, found, start, ignoreCase) - 1;
}

}  // namespace zendra
