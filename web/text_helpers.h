#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/types.h"

namespace zendra {

// Cutting text around markers. Searches are double-byte aware and count positions from 1;
// a start position below 1 (or none) searches from the first character. Trimming removes
// blanks and ideographic blanks (A1 A1) at both ends.

// The trimmed text before the first ":"; empty when there is none.
Text TextBeforeColon(std::string_view text);
// The trimmed text after the first ":"; empty when there is none.
Text TextAfterColon(std::string_view text);
// The text from its start up to the first marker found from startPosition on; empty when
// the marker is not found.
Text TextBefore(std::string_view text, std::string_view marker,
                std::optional<std::int32_t> startPosition = std::nullopt, bool ignoreCase = false);
// The text between the first leftMarker found from startPosition on and the first
// rightMarker after it; empty when either is missing. "#引号" in a marker stands for '"'.
Text TextBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                 std::optional<std::int32_t> startPosition = std::nullopt, bool ignoreCase = false);

}  // namespace zendra
