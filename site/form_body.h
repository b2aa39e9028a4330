#pragma once

#include <string>
#include <string_view>

namespace zendra::site {

// The value of one field of a form-encoded body ("id=1&lang=2"), percent-decoded; empty
// when the field is missing. The browser sends ids raw, but an encoded body reads the same.
std::string FormValue(std::string_view body, std::string_view name);

}  // namespace zendra::site
