#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zendra {

// Rewrites a JavaScript regular-expression pattern (without the u flag) into PCRE2 syntax
// with the same meaning: JavaScript's \s set, \uHHHH and \xHH escapes, identity escapes,
// backreferences versus legacy octal escapes, literal "[" inside sets, "[\s\S]" as any
// character. Constructs JavaScript rejects, and PCRE2-only syntax such as (*VERB), (?i)
// or possessive quantifiers, give nothing.
std::optional<std::u16string> TranslateJsPattern(std::u16string_view pattern);

}  // namespace zendra
