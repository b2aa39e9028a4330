#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace zendra {

// Conversions at the edges of the program: program text is code page 936.
// None fails: what cannot be decoded becomes U+FFFD, what code page 936 cannot
// represent becomes "?".
std::u16string Cp936ToUtf16(std::string_view text);
Text Utf16ToCp936(std::u16string_view text);

std::u16string Utf8ToUtf16(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view text);

// For string literals of the source, which are UTF-8.
Text Cp936FromUtf8(std::string_view utf8);
std::string Utf8FromCp936(std::string_view text);

}  // namespace zendra
