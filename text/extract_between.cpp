#include "text/extract_between.h"

#include <limits>

#include "platform/automation/factories.h"
#include "text/literal_search.h"
#include "text/quote_placeholder.h"
#include "text/regex_object.h"
#include "text/text_primitives.h"

namespace zendra {

Text ReplacePairs(std::string_view text, std::initializer_list<ReplacementPair> pairs,
                  std::optional<std::int32_t> count, std::optional<std::int32_t> startPosition,
                  std::optional<bool> caseSensitive) {
  Text result(text);
  for (const auto& [sought, replacement] : pairs)
    result = ReplaceText(result, sought, replacement, startPosition, count,
                         caseSensitive.value_or(false));
  return result;
}

Text EscapeMarker(std::string_view marker) {
  const Text escaped =
      ReplacePairs(marker, {{"?", "\\?"}, {"*", "\\*"}, {"+", "\\+"}, {"[", "\\["}, {"]", "\\]"}});
  const Text quoted = ReplacePairs(
      escaped,
      {{"(", "\\("}, {")", "\\)"}, {"{", "\\{"}, {"}", "\\}"}, {QuotePlaceholder(), "\""}});
  return ReplaceText(quoted, "\r\n", "\\n", std::nullopt, std::nullopt, true);
}

namespace {

// The marker as plain text, when escaping leaves no pattern meaning in it: printable ASCII
// without ".", "|", "^", "$" or the backslash, the quote placeholder read as a quote.
std::optional<Text> LiteralMarker(std::string_view marker) {
  Text literal = ReplaceText(marker, QuotePlaceholder(), "\"", std::nullopt, std::nullopt, false);
  for (const char c : literal) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) return std::nullopt;
    if (c == '.' || c == '|' || c == '^' || c == '$' || c == '\\') return std::nullopt;
  }
  return literal;
}

// What the pattern engine finds for left, a shortest middle and right when both markers are
// plain text, in one pass: a left marker without a right marker behind it means that no
// later one has one either, so nothing is scanned twice.
template <class Visit>
void ForEachLiteralMatch(std::string_view text, std::string_view left, std::string_view right,
                         Visit visit) {
  BoundaryWalker walker(text);
  constexpr std::size_t npos = std::string_view::npos;
  for (std::size_t from = 0; from <= text.size();) {
    const std::size_t begin = FindAsciiMarker(text, from, left, walker);
    if (begin == npos) return;
    const std::size_t middle = begin + left.size();
    const std::size_t end = FindAsciiMarker(text, middle, right, walker);
    if (end == npos) return;
    visit(text.substr(middle, end - middle));
    const std::size_t after = end + right.size();
    // An empty match moves the search on by one character, as the engine does.
    if (after > begin) {
      from = after;
    } else if (begin < text.size()) {
      from = walker.Next(begin);
    } else {
      return;
    }
  }
}

}  // namespace

std::int32_t ExtractBetween(std::string_view text, std::string_view leftMarker,
                            std::string_view rightMarker, TextArray& results,
                            const ExtractOptions& options) {
  results.clear();
  const std::int32_t maxLength = options.maxLength.value_or(0);
  const std::string_view prefix = options.prefix ? std::string_view(*options.prefix) : "";
  const std::string_view suffix = options.suffix ? std::string_view(*options.suffix) : "";
  const std::string_view left = options.includeLeft.value_or(false) ? leftMarker : "";
  const std::string_view right = options.includeRight.value_or(false) ? rightMarker : "";
  const auto add = [&](std::string_view piece) {
    if (maxLength != 0 && TextLength(piece) > maxLength) return;
    results.push_back(JoinText({left, prefix, piece, suffix, right}));
  };

  RegexObject regex;
  const std::optional<Text> literalLeft = LiteralMarker(leftMarker);
  const std::optional<Text> literalRight = LiteralMarker(rightMarker);
  if (literalLeft && literalRight) {
    // Linear whatever the text: a regular expression would scan to the end of the text
    // again from every left marker that has no right marker behind it. What the engine
    // would find is found directly, as long as there is an engine to stand behind it.
    if (!CreateRegExp().IsEmpty()) ForEachLiteralMatch(text, *literalLeft, *literalRight, add);
  } else {
    const Text pattern =
        JoinText({EscapeMarker(leftMarker), "([\\s\\S]*?)", EscapeMarker(rightMarker)});
    regex.Search(pattern, text);
    const std::int32_t count = regex.GetMatchCount();
    results.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (std::int32_t i = 1; i <= count; ++i) add(regex.GetSubMatchText(i, 1));
  }
  return results.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
             ? std::numeric_limits<std::int32_t>::max()
             : static_cast<std::int32_t>(results.size());
}

}  // namespace zendra
