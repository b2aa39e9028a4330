#pragma once

#include <cstdint>
#include <string_view>

#include "platform/types.h"

namespace zendra {

// General list routines on text arrays (element k+1 at index k).

// The number of characters of the text: a byte of 0x81 or more that is not the last byte
// begins a two-byte character, and CR LF counts as one character. When given, the array
// is emptied and receives the characters.
std::int32_t SplitCharacters(std::string_view text, TextArray* characters = nullptr);

// The text with repeated items dropped, the first of each kept. Items are the parts
// between separators, or the characters when splitBySeparator is false (the separator
// then still goes between the kept characters).
Text RemoveDuplicateItems(std::string_view text, std::string_view separator, bool splitBySeparator);

// The 1-based index of the first element equal to item; -1 when there is none.
std::int32_t FindItem(const TextArray& items, std::string_view item) noexcept;

}  // namespace zendra
