#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/types.h"

namespace zendra {

using ReplacementPair = std::pair<std::string_view, std::string_view>;  // sought, replacement

// Applies the pairs one after the other, each with ReplaceText over the whole text. Not
// given: every occurrence, from the first byte, letter case ignored.
Text ReplacePairs(std::string_view text, std::initializer_list<ReplacementPair> pairs,
                  std::optional<std::int32_t> count = std::nullopt,
                  std::optional<std::int32_t> startPosition = std::nullopt,
                  std::optional<bool> caseSensitive = std::nullopt);

// Pattern text for a marker: the quantifier, bracket and brace characters escaped, the quote
// placeholder turned into a double quote and CR LF into "\n". Other pattern characters
// (".", "|", "^", "$", the backslash) keep their meaning.
Text EscapeMarker(std::string_view marker);

struct ExtractOptions {
  std::optional<std::int32_t> maxLength;  // not 0: longer pieces are dropped
  std::optional<Text> prefix;
  std::optional<Text> suffix;
  std::optional<bool> includeLeft;
  std::optional<bool> includeRight;
};

// Every piece of text between leftMarker and rightMarker, in text order, into results
// (emptied first); letter case is ignored. Returns the number of elements.
std::int32_t ExtractBetween(std::string_view text, std::string_view leftMarker,
                            std::string_view rightMarker, TextArray& results,
                            const ExtractOptions& options = {});

}  // namespace zendra
