#include "text/extract_between.h"

#include <limits>

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

std::int32_t ExtractBetween(std::string_view text, std::string_view leftMarker,
                            std::string_view rightMarker, TextArray& results,
                            const ExtractOptions& options) {
  RegexObject regex;
  results.clear();
  const Text pattern =
      JoinText({EscapeMarker(leftMarker), "([\\s\\S]*?)", EscapeMarker(rightMarker)});
  regex.Search(pattern, text);

  const std::int32_t maxLength = options.maxLength.value_or(0);
  const std::string_view prefix = options.prefix ? std::string_view(*options.prefix) : "";
  const std::string_view suffix = options.suffix ? std::string_view(*options.suffix) : "";
  const std::string_view left = options.includeLeft.value_or(false) ? leftMarker : "";
  const std::string_view right = options.includeRight.value_or(false) ? rightMarker : "";
  const std::int32_t count = regex.GetMatchCount();
  results.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (std::int32_t i = 1; i <= count; ++i) {
    const Text piece = regex.GetSubMatchText(i, 1);
    if (maxLength != 0 && TextLength(piece) > maxLength) continue;
    results.push_back(JoinText({left, prefix, piece, suffix, right}));
  }
  return results.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
             ? std::numeric_limits<std::int32_t>::max()
             : static_cast<std::int32_t>(results.size());
}

}  // namespace zendra
