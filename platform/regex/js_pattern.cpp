#include "platform/regex/js_pattern.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/regex/js_case_folding.h"

namespace zendra {
namespace {

struct Range {
  char32_t first, last;
};

// JavaScript's white space and line terminators, the meaning of \s.
constexpr Range kSpaceRanges[] = {
    {0x09, 0x0D},     {0x20, 0x20},     {0xA0, 0xA0},     {0x1680, 0x1680}, {0x2000, 0x200A},
    {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};
constexpr char32_t kMaxCodePoint = 0x10FFFF;

void AppendHex(std::u16string& out, char32_t cp) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  out += u"\\x{";
  char16_t buffer[8];
  int n = 0;
  do {
    buffer[n++] = kDigits[cp & 0xF];
    cp >>= 4;
  } while (cp != 0);
  while (n > 0) out += buffer[--n];
  out += u'}';
}

void AppendRange(std::u16string& out, char32_t first, char32_t last) {
  AppendHex(out, first);
  if (last != first) {
    out += u'-';
    AppendHex(out, last);
  }
}

// Set contents (without brackets) for \s or \S.
std::u16string SpaceSetContents(bool negated) {
  std::u16string out;
  if (!negated) {
    for (const auto& r : kSpaceRanges) AppendRange(out, r.first, r.last);
    return out;
  }
  char32_t next = 0;
  for (const auto& r : kSpaceRanges) {
    if (r.first > next) AppendRange(out, next, r.first - 1);
    next = r.last + 1;
  }
  AppendRange(out, next, kMaxCodePoint);
  return out;
}

bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

// Whether c belongs to \d, \D, \w, \W, \s or \S.
bool InClassEscape(char16_t letter, char32_t c) noexcept {
  bool in = false;
  switch (letter | 0x20) {
    case u'd':
      in = c >= u'0' && c <= u'9';
      break;
    case u'w':
      in = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
           c == u'_';
      break;
    default:
      for (const auto& r : kSpaceRanges) in = in || (r.first <= c && c <= r.last);
      break;
  }
  return (letter >= u'a') == in;
}
bool IsAsciiLetter(char16_t c) noexcept {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
int HexValue(char16_t c) noexcept {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}
bool IsHighSurrogate(char32_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(char32_t c) noexcept { return c >= 0xD800 && c <= 0xDFFF; }

// One element of a pattern: a single character, a character set (\d, \s...), or a
// zero-width or back-reference item that only stands outside sets.
struct Atom {
  enum class Kind { Char, Set, Item } kind = Kind::Char;
  char32_t cp = 0;
  char16_t setLetter = 0;  // d, D, w, W, s or S for a Set
  std::u16string text;     // PCRE2 text of a Set's contents or of an Item
};

class Translator {
 public:
  Translator(std::u16string_view in, bool ignoreCase) : in_(in), ignoreCase_(ignoreCase) {
    FindGroups();
  }

  std::optional<JsTranslation> Run() {
    while (ok_ && i_ < in_.size()) Step();
    if (!ok_) return std::nullopt;
    return JsTranslation{std::move(out_), std::move(pcreOfJs_), std::move(loops_)};
  }

 private:
  struct Opening {
    bool capturing = false;
    bool lookaround = false;
    bool quantified = false;
    std::uint32_t minimum = 0;
  };
  struct Open {
    bool loop;
    std::size_t loopIndex;
  };

  void Fail() noexcept { ok_ = false; }
  bool At(char16_t c, std::size_t offset = 0) const noexcept {
    return i_ + offset < in_.size() && in_[i_ + offset] == c;
  }

  // The least count of the quantifier at k, when one stands there.
  std::optional<std::uint32_t> QuantifierAt(std::size_t k) const noexcept {
    if (k >= in_.size()) return std::nullopt;
    if (in_[k] == u'*' || in_[k] == u'?') return 0;
    if (in_[k] == u'+') return 1;
    if (in_[k] != u'{') return std::nullopt;
    std::uint32_t least = 0;
    std::size_t j = k + 1;
    const std::size_t from = j;
    for (; j < in_.size() && IsDigit(in_[j]); ++j)
      least = std::min<std::uint32_t>(least * 10 + (in_[j] - u'0'), 1000000);
    if (j == from) return std::nullopt;
    if (j < in_.size() && in_[j] == u',') {
      ++j;
      while (j < in_.size() && IsDigit(in_[j])) ++j;
    }
    if (j >= in_.size() || in_[j] != u'}') return std::nullopt;
    return least;
  }

  // Capture groups are numbered by their opening parenthesis; a back-reference is one
  // only when its number does not exceed their count. A repeated group gets hidden groups
  // of its own (see Step), so the numbers PCRE2 gives are worked out here beforehand.
  void FindGroups() {
    bool inSet = false;
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < in_.size(); ++k) {
      const char16_t c = in_[k];
      if (c == u'\\') {
        ++k;
      } else if (inSet) {
        if (c == u']') inSet = false;
      } else if (c == u'[') {
        inSet = true;
      } else if (c == u'(') {
        Opening opening;
        if (k + 1 >= in_.size() || in_[k + 1] != u'?') {
          opening.capturing = true;
        } else if (k + 2 < in_.size() && (in_[k + 2] == u'=' || in_[k + 2] == u'!')) {
          opening.lookaround = true;
        } else if (k + 3 < in_.size() && in_[k + 2] == u'<') {
          if (in_[k + 3] == u'=' || in_[k + 3] == u'!') {
            opening.lookaround = true;
          } else {
            opening.capturing = true;
            hasNames_ = true;
          }
        }
        open.push_back(openings_.size());
        openings_.push_back(opening);
      } else if (c == u')' && !open.empty()) {
        Opening& opening = openings_[open.back()];
        open.pop_back();
        if (const auto least = QuantifierAt(k + 1)) {
          opening.quantified = true;
          opening.minimum = *least;
        }
      }
    }
    std::uint32_t pcre = 0;
    for (const Opening& opening : openings_) {
      if (opening.quantified && !opening.lookaround) pcre += opening.minimum == 1 ? 2 : 1;
      if (opening.capturing) pcreOfJs_.push_back(++pcre);
    }
    groupCount_ = static_cast<int>(pcreOfJs_.size()) - 1;
  }

  // Reads one raw character, joining a surrogate pair.
  char32_t TakeChar() noexcept {
    char32_t c = in_[i_++];
    if (IsHighSurrogate(c) && i_ < in_.size() && IsLowSurrogate(in_[i_]))
      c = 0x10000 + ((c - 0xD800) << 10) + (in_[i_++] - 0xDC00);
    return c;
  }

  char32_t TakeOctal(char32_t first) noexcept {
    char32_t value = first - u'0';
    for (int k = 0; k < 2 && i_ < in_.size() && in_[i_] >= u'0' && in_[i_] <= u'7'; ++k) {
      const char32_t next = value * 8 + (in_[i_] - u'0');
      if (next > 0377) break;
      value = next;
      ++i_;
    }
    return value;
  }

  // The escape behind a backslash (already consumed).
  Atom TakeEscape(bool inSet) {
    Atom atom;
    if (i_ >= in_.size()) {
      Fail();
      return atom;
    }
    const char16_t c = in_[i_++];
    auto set = [&](std::u16string text) {
      atom.kind = Atom::Kind::Set;
      atom.setLetter = c;
      atom.text = std::move(text);
      return atom;
    };
    auto item = [&](std::u16string text) {
      atom.kind = Atom::Kind::Item;
      atom.text = std::move(text);
      return atom;
    };
    auto chr = [&](char32_t cp) {
      atom.cp = cp;
      return atom;
    };
    switch (c) {
      case u'd':
      case u'D':
      case u'w':
      case u'W':
        return set(std::u16string{u'\\', c});
      case u's':
        return set(SpaceSetContents(false));
      case u'S':
        return set(SpaceSetContents(true));
      case u'b':
        return inSet ? chr(0x08) : item(u"\\b");
      case u'B':
        return inSet ? chr(u'B') : item(u"\\B");
      case u't':
        return chr(0x09);
      case u'n':
        return chr(0x0A);
      case u'v':
        return chr(0x0B);
      case u'f':
        return chr(0x0C);
      case u'r':
        return chr(0x0D);
      case u'c':
        // Inside a set a digit or "_" also makes a control character: [\c1] holds U+0011.
        if (i_ < in_.size() &&
            (IsAsciiLetter(in_[i_]) || (inSet && (IsDigit(in_[i_]) || in_[i_] == u'_'))))
          return chr(in_[i_++] % 32);
        --i_;  // a lone "\c" stands for a backslash followed by "c"
        return chr(u'\\');
      case u'x':
        if (i_ + 1 < in_.size() && HexValue(in_[i_]) >= 0 && HexValue(in_[i_ + 1]) >= 0) {
          const char32_t value = HexValue(in_[i_]) * 16 + HexValue(in_[i_ + 1]);
          i_ += 2;
          return chr(value);
        }
        return chr(u'x');
      case u'u':
        return TakeUnicodeEscape(atom);
      case u'k':
        if (hasNames_ && !inSet && At(u'<')) {
          const std::size_t close = in_.find(u'>', i_);
          if (close == std::u16string_view::npos) {
            Fail();
            return atom;
          }
          std::u16string text = u"\\k";
          text.append(in_.substr(i_, close + 1 - i_));
          i_ = close + 1;
          return item(std::move(text));
        }
        return chr(u'k');
      default:
        break;
    }
    if (c == u'0' && !(i_ < in_.size() && IsDigit(in_[i_]))) return chr(0);
    if (IsDigit(c)) {
      if (!inSet && c != u'0') {
        std::size_t end = i_;
        std::uint32_t number = c - u'0';
        while (end < in_.size() && IsDigit(in_[end]) && number <= 1000)
          number = number * 10 + (in_[end++] - u'0');
        if (number <= static_cast<std::uint32_t>(groupCount_)) {
          i_ = end;
          std::u16string text = u"\\g{";
          for (char16_t d : std::to_string(pcreOfJs_[number])) text += d;
          return item(text + u"}");
        }
      }
      if (c >= u'8') return chr(c);  // not octal: the digit itself
      return chr(TakeOctal(c));
    }
    --i_;
    return chr(TakeChar());  // an identity escape: the character itself
  }

  Atom TakeUnicodeEscape(Atom& atom) {
    auto hex4 = [&](std::size_t at) -> int {
      if (at + 4 > in_.size()) return -1;
      int value = 0;
      for (std::size_t k = at; k < at + 4; ++k) {
        const int h = HexValue(in_[k]);
        if (h < 0) return -1;
        value = value * 16 + h;
      }
      return value;
    };
    const int value = hex4(i_);
    if (value < 0) {
      atom.cp = u'u';
      return atom;
    }
    i_ += 4;
    atom.cp = static_cast<char32_t>(value);
    if (IsHighSurrogate(atom.cp) && At(u'\\') && At(u'u', 1)) {
      const int low = hex4(i_ + 2);
      if (low >= 0 && IsLowSurrogate(static_cast<char32_t>(low))) {
        i_ += 6;
        atom.cp = 0x10000 + ((atom.cp - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
      }
    }
    // A lone surrogate is one code unit that no subject holds (subjects come from code page
    // 936); PCRE2's UTF mode cannot name it, so it becomes a character that never matches.
    return atom;
  }

  Atom TakeSetAtom() {
    if (At(u'\\')) {
      ++i_;
      return TakeEscape(true);
    }
    Atom atom;
    atom.cp = TakeChar();
    return atom;
  }

  void TakeSet() {
    ++i_;  // "["
    const bool negated = At(u'^');
    if (negated) ++i_;
    std::u16string body;
    bool letters[128] = {};
    bool empty = true;
    std::vector<Range> chars;  // the characters and ranges named, for letter case below
    auto add = [&](const Atom& a) {
      if (a.kind == Atom::Kind::Char && IsSurrogate(a.cp)) return;  // never in a subject
      empty = false;
      if (a.kind == Atom::Kind::Set) {
        letters[a.setLetter] = true;
        body += a.text;
      } else {
        chars.push_back({a.cp, a.cp});
        AppendHex(body, a.cp);
      }
    };
    for (;;) {
      if (!ok_) return;
      if (i_ >= in_.size()) return Fail();
      if (At(u']')) {
        ++i_;
        break;
      }
      const Atom first = TakeSetAtom();
      if (At(u'-') && i_ + 1 < in_.size() && in_[i_ + 1] != u']') {
        ++i_;
        const Atom last = TakeSetAtom();
        if (first.kind == Atom::Kind::Char && last.kind == Atom::Kind::Char) {
          if (first.cp > last.cp) return Fail();
          // Surrogates are never in a subject, and PCRE2 cannot name them.
          const char32_t from = IsSurrogate(first.cp) ? 0xE000 : first.cp;
          const char32_t to = IsSurrogate(last.cp) ? 0xD7FF : last.cp;
          if (from <= to) {
            empty = false;
            chars.push_back({from, to});
            AppendRange(body, from, to);
          }
        } else {  // a set at either end makes the hyphen literal
          add(first);
          body += u"\\-";
          add(last);
        }
      } else {
        add(first);
      }
    }
    // A set holding both halves of \s, \d or \w holds every character.
    const bool full = (letters['s'] && letters['S']) || (letters['d'] && letters['D']) ||
                      (letters['w'] && letters['W']);
    const std::size_t setStart = out_.size();
    if (full != negated && (full || empty)) {
      out_ += u"(?s:.)";
    } else if (full || empty) {
      out_ += u"[]";  // matches nothing (PCRE2_ALLOW_EMPTY_CLASS)
    } else {
      out_ += negated ? u"[^" : u"[";
      out_ += body;
      out_ += u']';
    }
    if (ignoreCase_) MendSetCase(setStart, chars, letters, negated);
    canRepeat_ = true;
  }

  // Caseless PCRE2 admits to the set just written (from setStart on) the characters caseless
  // equal to those named; JavaScript compares upper cases. Where the two differ, the
  // characters PCRE2 would wrongly admit are excluded and those it would miss are added.
  void MendSetCase(std::size_t setStart, const std::vector<Range>& chars, const bool* letters,
                   bool negated) {
    auto named = [&](char32_t c) {
      return std::any_of(chars.begin(), chars.end(),
                         [c](const Range& r) { return r.first <= c && c <= r.last; });
    };
    auto inClasses = [&](char32_t c) {
      for (const char16_t letter : {u'd', u'D', u'w', u'W', u's', u'S'})
        if (letters[letter] && InClassEscape(letter, c)) return true;
      return false;
    };
    std::u16string exclude, include;
    for (const char32_t c : CharactersFoldingDifferently()) {
      const std::u32string pcreClass = PcreCaseClass(c);
      const std::u32string jsClass = JsCaseClass(c);
      const bool pcre = inClasses(c) || std::any_of(pcreClass.begin(), pcreClass.end(), named);
      const bool js = std::any_of(jsClass.begin(), jsClass.end(),
                                  [&](char32_t d) { return named(d) || inClasses(d); });
      if (pcre == js) continue;
      AppendHex((pcre != negated) ? exclude : include, c);
    }
    if (exclude.empty() && include.empty()) return;
    std::u16string mended = u"(?:";
    if (!exclude.empty()) mended += u"(?!(?-i:[" + exclude + u"]))";
    mended.append(out_, setStart);
    if (!include.empty()) mended += u"|(?-i:[" + include + u"])";
    mended += u')';
    out_.replace(setStart, std::u16string::npos, mended);
  }

  // A repeated group becomes (?:()group(?C{k})) with a hidden empty group E that marks
  // where each repetition starts, and for a least count of 1 a hidden group L before it
  // that marks where the repetitions start. The callout k fails a repetition that matched
  // the empty text once the least count is met; E tells which captures the last repetition
  // set (JsLoop).
  void TakeGroupOpening() {
    const Opening opening = openingsSeen_ < openings_.size() ? openings_[openingsSeen_] : Opening();
    ++openingsSeen_;
    if (opening.quantified && !opening.lookaround) {
      JsLoop loop;
      if (opening.minimum == 1) {
        out_ += u"()";
        loop.before = ++pcreGroups_;
      }
      out_ += u"(?:()";
      loop.start = ++pcreGroups_;
      loop.checkEmpty = opening.minimum <= 1;
      open_.push_back({true, loops_.size()});
      loops_.push_back(loop);
    } else {
      open_.push_back({false, 0});
    }
    ++i_;  // "("
    if (!At(u'?')) {
      if (At(u'*')) return Fail();  // PCRE2 verbs
      out_ += u'(';
      ++pcreGroups_;
      return;
    }
    if (At(u':', 1) || At(u'=', 1) || At(u'!', 1)) {
      out_ += in_.substr(i_ - 1, 3);
      i_ += 2;
      return;
    }
    if (At(u'<', 1) && (At(u'=', 2) || At(u'!', 2))) {
      out_ += in_.substr(i_ - 1, 4);
      i_ += 3;
      return;
    }
    if (At(u'<', 1)) {
      const std::size_t close = in_.find(u'>', i_);
      if (close == std::u16string_view::npos || close == i_ + 2) return Fail();
      out_ += u'(';
      out_ += in_.substr(i_, close + 1 - i_);
      i_ = close + 1;
      ++pcreGroups_;
      return;
    }
    Fail();  // (?i), (?#...), (?| and the like are not JavaScript
  }

  // A "{" that does not begin {n}, {n,} or {n,m} is a literal brace.
  bool TakeBraceQuantifier() {
    std::size_t k = i_ + 1;
    auto digits = [&] {
      const std::size_t from = k;
      while (k < in_.size() && IsDigit(in_[k])) ++k;
      return k > from;
    };
    if (!digits()) return false;
    if (k < in_.size() && in_[k] == u',') {
      ++k;
      digits();
    }
    if (k >= in_.size() || in_[k] != u'}') return false;
    out_ += in_.substr(i_, k + 1 - i_);
    i_ = k + 1;
    return true;
  }

  void AfterQuantifier() {
    if (!canRepeat_) return Fail();
    canRepeat_ = false;
    if (At(u'?')) {
      out_ += u'?';
      ++i_;
    }
    if (At(u'*') || At(u'+') || At(u'?')) Fail();  // possessive or doubled quantifiers
  }

  void Step() {
    const char16_t c = in_[i_];
    switch (c) {
      case u'\\': {
        ++i_;
        const Atom atom = TakeEscape(false);
        if (atom.kind == Atom::Kind::Char) {
          if (IsSurrogate(atom.cp)) {
            out_ += u"[]";  // a lone surrogate: matches nothing, and can still be repeated
          } else if (ignoreCase_ && FoldsDifferently(atom.cp)) {
            out_ += u"(?-i:[";
            for (const char32_t c : JsCaseClass(atom.cp)) AppendHex(out_, c);
            out_ += u"])";
          } else {
            AppendHex(out_, atom.cp);
          }
        } else if (atom.kind == Atom::Kind::Set) {
          if (atom.setLetter == u's' || atom.setLetter == u'S') {
            out_ += u'[';
            out_ += atom.text;
            out_ += u']';
          } else {
            out_ += atom.text;
          }
        } else {
          out_ += atom.text;
        }
        canRepeat_ = atom.kind != Atom::Kind::Item || atom.text[1] == u'g' || atom.text[1] == u'k';
        return;
      }
      case u'[':
        return TakeSet();
      case u'(':
        TakeGroupOpening();
        canRepeat_ = false;
        return;
      case u')':
        out_ += c;
        ++i_;
        canRepeat_ = true;
        if (!open_.empty()) {
          const Open group = open_.back();
          open_.pop_back();
          if (group.loop) {
            JsLoop& loop = loops_[group.loopIndex];
            loop.lastInner = pcreGroups_;
            if (loop.checkEmpty) {
              out_ += u"(?C{";
              for (char16_t d : std::to_string(group.loopIndex)) out_ += d;
              out_ += u'}';
              out_ += u')';
            }
            out_ += u')';
          }
        }
        return;
      case u'*':
      case u'+':
      case u'?':
        out_ += c;
        ++i_;
        return AfterQuantifier();
      case u'{':
        if (TakeBraceQuantifier()) return AfterQuantifier();
        out_ += u"\\{";
        ++i_;
        canRepeat_ = true;
        return;
      case u'}':
      case u']':
        out_ += u'\\';
        out_ += c;
        ++i_;
        canRepeat_ = true;
        return;
      case u'^':
      case u'$':
      case u'|':
        out_ += c;
        ++i_;
        canRepeat_ = false;
        return;
      default:
        if (ignoreCase_ && FoldsDifferently(c)) {
          out_ += u"(?-i:[";
          for (const char32_t d : JsCaseClass(c)) AppendHex(out_, d);
          out_ += u"])";
        } else {
          out_ += c;
        }
        ++i_;
        canRepeat_ = true;
        return;
    }
  }

  std::u16string_view in_;
  bool ignoreCase_;
  std::size_t i_ = 0;
  std::u16string out_;
  std::vector<Opening> openings_;
  std::size_t openingsSeen_ = 0;
  std::vector<Open> open_;
  std::vector<std::uint32_t> pcreOfJs_{0};
  std::uint32_t pcreGroups_ = 0;
  std::vector<JsLoop> loops_;
  int groupCount_ = 0;
  bool hasNames_ = false;
  bool canRepeat_ = false;
  bool ok_ = true;
};

}  // namespace

std::optional<JsTranslation> TranslateJsPattern(std::u16string_view pattern, bool ignoreCase) {
  return Translator(pattern, ignoreCase).Run();
}

}  // namespace zendra
