#pragma once

#include <string>
#include <string_view>

namespace zendra {

// The engine keeps strings as extended UTF-8 in which each half of a surrogate pair may
// be encoded on its own (CESU-8 style). Gives well-formed UTF-16: pairs are joined, lone
// surrogates and malformed bytes become U+FFFD.
std::u16string DuktapeStringToUtf16(std::string_view bytes);

}  // namespace zendra
