#include "app/cli/display_width.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace zendra::cli {
namespace {

bool IsControl(UChar32 c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

int CharWidth(UChar32 c) {
  if (c < 0) return 1;  // malformed input shows as one replacement character
  if (IsControl(c)) return 0;
  switch (u_charType(c)) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_FORMAT_CHAR:
      return 0;
    default:
      break;
  }
  switch (u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH)) {
    case U_EA_WIDE:
    case U_EA_FULLWIDTH:
      return 2;
    default:
      return 1;
  }
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
  const auto length = static_cast<std::int32_t>(utf8.size());
  int width = 0;
  for (std::int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    width += CharWidth(c);
  }
  return width;
}

std::string WithoutControls(std::string_view utf8) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
  const auto length = static_cast<std::int32_t>(utf8.size());
  std::string result;
  result.reserve(utf8.size());
  for (std::int32_t i = 0; i < length;) {
    const std::int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c >= 0 && IsControl(c)) {
      result += '?';
    } else {
      result.append(
          utf8.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
    }
  }
  return result;
}

}  // namespace zendra::cli
