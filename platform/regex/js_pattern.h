#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zendra {

// A repeated group of the pattern. JavaScript clears the captures inside such a group at
// each repetition and ends the repetitions at one that matches the empty text; PCRE2 does
// neither, so the translation marks each repetition's start with a hidden group.
struct JsLoop {
  std::uint32_t start = 0;      // hidden group: where the last repetition began
  std::uint32_t before = 0;     // hidden group where the repetitions began (least count 1), or 0
  std::uint32_t lastInner = 0;  // the groups start+1 to lastInner lie inside the repetition
  bool checkEmpty = false;      // a callout fails an empty repetition (least count 0 or 1)
};

struct JsTranslation {
  std::u16string pattern;             // PCRE2 syntax
  std::vector<std::uint32_t> groups;  // [k]: PCRE2's number of the pattern's group k
  std::vector<JsLoop> loops;          // indexed by the callout string's number
};

// Rewrites a JavaScript regular-expression pattern (without the u flag) into PCRE2 syntax
// with the same meaning: JavaScript's \s set, \uHHHH and \xHH escapes, identity escapes,
// backreferences versus legacy octal escapes, literal "[" inside sets, "[\s\S]" as any
// character, repeated groups. Constructs JavaScript rejects, and PCRE2-only syntax such as
// (*VERB), (?i) or possessive quantifiers, give nothing. With ignoreCase the pattern is
// meant for PCRE2's caseless mode, mended where its case folding differs from JavaScript's.
std::optional<JsTranslation> TranslateJsPattern(std::u16string_view pattern, bool ignoreCase);

}  // namespace zendra
