#pragma once

#include <string>

namespace zendra {

// Case-insensitive matching without the u flag compares the upper-case forms of code units
// (a character whose upper case is longer than one unit, or leaves non-ASCII for ASCII,
// stands for itself). PCRE2's caseless mode compares Unicode case foldings instead, which
// also pairs "k" with U+212A KELVIN SIGN, "s" with U+017F, "ω" with U+2126 and so on.

// True when the characters matching c differ between the two rules.
bool FoldsDifferently(char32_t c);

// Every character for which FoldsDifferently holds, in ascending order.
const std::u32string& CharactersFoldingDifferently();

// The characters that JavaScript matches with c: c and those of the same upper case.
std::u32string JsCaseClass(char32_t c);

// The characters that PCRE2's caseless mode matches with c.
std::u32string PcreCaseClass(char32_t c);

}  // namespace zendra
