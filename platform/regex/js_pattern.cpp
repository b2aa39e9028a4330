#include "platform/regex/js_pattern.h"

#include <cstdint>
#include <vector>

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
  explicit Translator(std::u16string_view in) : in_(in) { CountGroups(); }

  std::optional<std::u16string> Run() {
    while (ok_ && i_ < in_.size()) Step();
    if (!ok_) return std::nullopt;
    return std::move(out_);
  }

 private:
  void Fail() noexcept { ok_ = false; }
  bool At(char16_t c, std::size_t offset = 0) const noexcept {
    return i_ + offset < in_.size() && in_[i_ + offset] == c;
  }

  // Capture groups are numbered by their opening parenthesis; a back-reference is one
  // only when its number does not exceed their count.
  void CountGroups() {
    bool inSet = false;
    for (std::size_t k = 0; k < in_.size(); ++k) {
      const char16_t c = in_[k];
      if (c == u'\\') {
        ++k;
      } else if (inSet) {
        if (c == u']') inSet = false;
      } else if (c == u'[') {
        inSet = true;
      } else if (c == u'(') {
        if (k + 1 >= in_.size() || in_[k + 1] != u'?') {
          ++groupCount_;
        } else if (k + 3 < in_.size() && in_[k + 2] == u'<' && in_[k + 3] != u'=' &&
                   in_[k + 3] != u'!') {
          ++groupCount_;
          hasNames_ = true;
        }
      }
    }
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
        if (i_ < in_.size() && IsAsciiLetter(in_[i_])) return chr(in_[i_++] % 32);
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
          for (char16_t d : std::to_string(number)) text += d;
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
    // A lone surrogate cannot stand in a subject that came from code page 936, and PCRE2's
    // UTF mode rejects it.
    if (IsHighSurrogate(atom.cp) || IsLowSurrogate(atom.cp)) Fail();
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
    auto add = [&](const Atom& a) {
      empty = false;
      if (a.kind == Atom::Kind::Set) {
        letters[a.setLetter] = true;
        body += a.text;
      } else {
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
          empty = false;
          AppendRange(body, first.cp, last.cp);
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
    if (full != negated && (full || empty)) {
      out_ += u"(?s:.)";
    } else if (full || empty) {
      out_ += u"[]";  // matches nothing (PCRE2_ALLOW_EMPTY_CLASS)
    } else {
      out_ += negated ? u"[^" : u"[";
      out_ += body;
      out_ += u']';
    }
    canRepeat_ = true;
  }

  void TakeGroupOpening() {
    ++i_;  // "("
    if (!At(u'?')) {
      if (At(u'*')) return Fail();  // PCRE2 verbs
      out_ += u'(';
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
          AppendHex(out_, atom.cp);
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
        out_ += c;
        ++i_;
        canRepeat_ = true;
        return;
    }
  }

  std::u16string_view in_;
  std::size_t i_ = 0;
  std::u16string out_;
  int groupCount_ = 0;
  bool hasNames_ = false;
  bool canRepeat_ = false;
  bool ok_ = true;
};

}  // namespace

std::optional<std::u16string> TranslateJsPattern(std::u16string_view pattern) {
  return Translator(pattern).Run();
}

}  // namespace zendra
