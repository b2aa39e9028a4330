#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zendra::verify {

// The digest a catalogue cell or a command line names: exactly 40 hexadecimal digits in
// either letter case. Upper case when valid, nothing otherwise.
std::optional<std::string> ParseSha1(std::string_view text);

}  // namespace zendra::verify
