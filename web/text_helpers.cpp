#include "web/text_helpers.h"

#include "platform/codepage/code_page.h"
#include "text/text_primitives.h"

namespace zendra {
namespace {

std::int32_t SearchStart(std::optional<std::int32_t> startPosition) noexcept {
  return startPosition && *startPosition >= 1 ? *startPosition : 1;
}

Text WithQuotes(std::string_view marker) {
  static const Text placeholder = Cp936FromUtf8("#引号");
  return ReplaceText(marker, placeholder, "\"", std::nullopt, std::nullopt, true);
}

}  // namespace

Text TextBeforeColon(std::string_view text) {
  const std::int32_t colon = FindText(text, ":");
  return colon < 1 ? Text() : TrimSpaces(TextLeft(text, colon - 1));
}

Text TextAfterColon(std::string_view text) {
  const std::int32_t colon = FindText(text, ":");
  return colon < 1 ? Text() : TrimSpaces(text.substr(static_cast<std::size_t>(colon)));
}

Text TextBefore(std::string_view text, std::string_view marker,
                std::optional<std::int32_t> startPosition, bool ignoreCase) {
  const std::int32_t found = FindText(text, marker, SearchStart(startPosition), ignoreCase);
  return found < 1 ? Text() : TextLeft(text, found - 1);
}

Text TextBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                 std::optional<std::int32_t> startPosition, bool ignoreCase) {
  const Text left = WithQuotes(leftMarker);
  const Text right = WithQuotes(rightMarker);
  const std::int32_t leftAt = FindText(text, left, SearchStart(startPosition), ignoreCase);
  if (leftAt < 1) return Text();
  const std::int32_t inside = leftAt + TextLength(left);
  const std::int32_t rightAt = FindText(text, right, inside, ignoreCase);
  // An empty right marker is "found" at 1, before the inside: that gives the empty text.
  if (rightAt < inside) return Text();
  return TextMid(text, inside, rightAt - inside);
}

}  // namespace zendra
