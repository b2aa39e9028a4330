#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zendra {

// Appends the replacement for one match, expanding JavaScript's substitution syntax:
// $$, $&, $`, $', $1 to $99 and, when the pattern has named groups, $<name>.
// `offsets` holds the match's offset pairs (group 0 first); `groupNumber` maps a group
// name to its number (or -1) and is empty when the pattern has no named groups.
void AppendJsReplacement(std::u16string& out, std::u16string_view replacement,
                         std::u16string_view subject, const std::size_t* offsets,
                         std::uint32_t groupCount,
                         const std::function<int(std::u16string_view)>& groupNumber);

}  // namespace zendra
