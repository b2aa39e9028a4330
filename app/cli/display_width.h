#pragma once

#include <string>
#include <string_view>

namespace zendra::cli {

// Columns a UTF-8 text takes on a terminal: wide and full-width characters (CJK) take
// two, combining marks and format characters none, everything else one.
int DisplayWidth(std::string_view utf8);

// The text with every control character (C0, DEL, C1) replaced by "?": site texts
// must not move the cursor or change the colours of the terminal that shows them.
std::string WithoutControls(std::string_view utf8);

}  // namespace zendra::cli
