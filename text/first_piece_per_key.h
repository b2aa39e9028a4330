#pragma once

#include <string_view>

#include "platform/types.h"

namespace zendra {

// For each key, the first piece of text that ExtractBetween would give for the markers
// key + leftTail and rightHead + key, with the key taken as plain text whatever characters
// it holds (ASCII letters compared without case); the empty text when there is none.
// leftTail and rightHead are printable ASCII without pattern characters.
//
// The text is passed over once per distinct key length, so many keys cost about as much
// as a few; keys of lengths beyond the first kMaxKeyLengths distinct ones get nothing.
inline constexpr std::size_t kMaxKeyLengths = 16;
TextArray FirstPiecePerKey(std::string_view text, const TextArray& keys,
                           std::string_view leftTail, std::string_view rightHead);

}  // namespace zendra
