#include "platform/script/duktape_string.h"

#include <cstdint>

namespace zendra {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsHighSurrogate(char32_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes one sequence at `position`; gives nothing for a malformed one.
bool DecodeOne(std::string_view bytes, std::size_t& position, char32_t& codePoint) noexcept {
  const auto lead = static_cast<std::uint8_t>(bytes[position]);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) {
    ++position;
    codePoint = lead;
    return true;
  }
  if (lead >= 0xC0 && lead < 0xE0) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead < 0xF8) {
    length = 4;
    value = lead & 0x07;
  } else {
    return false;
  }
  if (bytes.size() - position < length) return false;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(bytes[position + i]);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  position += length;
  codePoint = value;
  return true;
}

}  // namespace

std::u16string DuktapeStringToUtf16(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size());
  std::size_t position = 0;
  while (position < bytes.size()) {
    char32_t c = 0;
    if (!DecodeOne(bytes, position, c)) {
      ++position;
      units.push_back(kReplacement);
    } else if (c <= 0xFFFF) {
      units.push_back(static_cast<char16_t>(c));
    } else if (c <= 0x10FFFF) {
      c -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      units.push_back(kReplacement);
    }
  }
  // Keep only surrogates that form pairs.
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
      units[i] = kReplacement;
    }
  }
  return units;
}

}  // namespace zendra
