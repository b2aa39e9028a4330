#include "text/text_primitives.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/automation/number_text.h"

namespace zendra {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;
constexpr unsigned char kIdeographicSpaceByte = 0xA1;

bool IsLeadByte(unsigned char c) noexcept { return c >= 0x80; }

unsigned char FoldAscii(unsigned char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool IsAsciiLetter(unsigned char c) noexcept { return FoldAscii(c) >= 'a' && FoldAscii(c) <= 'z'; }

bool EqualFolded(const unsigned char* a, const unsigned char* b, std::size_t n) noexcept {
  for (std::size_t k = 0; k < n; ++k)
    if (FoldAscii(a[k]) != FoldAscii(b[k])) return false;
  return true;
}

std::int32_t ClampToInt32(std::size_t n) noexcept {
  return n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
             ? std::numeric_limits<std::int32_t>::max()
             : static_cast<std::int32_t>(n);
}

// Finds sought (not empty) in text at a character start, scanning double-byte aware from
// `from`, which must be a character start. Candidates come from memchr; whether a hit is
// a character start follows from the run of high bytes before it, counted back only as
// far as the last known start, so the whole scan stays linear.
std::size_t FindFrom(std::string_view text, std::string_view sought, std::size_t from,
                     bool ignoreCase) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* s = reinterpret_cast<const unsigned char*>(sought.data());
  const std::size_t n = text.size();
  const std::size_t m = sought.size();
  if (from >= n || m > n - from) return kNotFound;

  if (ignoreCase && IsAsciiLetter(s[0])) {
    // Either letter case may begin a match: walk the characters.
    const unsigned char first = FoldAscii(s[0]);
    for (std::size_t i = from; i + m <= n;) {
      if (FoldAscii(p[i]) == first && EqualFolded(p + i, s, m)) return i;
      i += IsLeadByte(p[i]) ? 2 : 1;
    }
    return kNotFound;
  }

  std::size_t start = from;  // a known character start at or before the next candidate
  std::size_t i = from;
  while (i + m <= n) {
    const void* hit = std::memchr(p + i, s[0], n - m + 1 - i);
    if (hit == nullptr) return kNotFound;
    const std::size_t h = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - p);
    std::size_t run = 0;
    while (h - run > start && IsLeadByte(p[h - run - 1])) ++run;
    if (run % 2 == 1) {  // the second byte of a character
      start = h + 1;
      i = h + 1;
      continue;
    }
    start = h;
    // A lead byte standing last ends the scan; only a one-byte sought can reach it.
    if (IsLeadByte(p[h]) && h + 1 == n) return kNotFound;
    if (ignoreCase ? EqualFolded(p + h, s, m) : std::memcmp(p + h, s, m) == 0) return h;
    i = h + 1;
  }
  return kNotFound;
}

std::size_t StartIndex(std::optional<std::int32_t> startPosition) noexcept {
  if (!startPosition || *startPosition <= 1) return 0;
  return static_cast<std::size_t>(*startPosition) - 1;
}

bool IsSpaceAt(const unsigned char* p, std::size_t i, std::size_t n) noexcept {
  return p[i] == ' ' ||
         (p[i] == kIdeographicSpaceByte && i + 1 < n && p[i + 1] == kIdeographicSpaceByte);
}

}  // namespace

std::int32_t TextLength(std::string_view text) noexcept { return ClampToInt32(text.size()); }

Text TextLeft(std::string_view text, std::int32_t count) {
  if (count <= 0) return Text();
  return Text(text.substr(0, static_cast<std::size_t>(count)));
}

Text TextRight(std::string_view text, std::int32_t count) {
  if (count <= 0) return Text();
  const std::size_t take = std::min(text.size(), static_cast<std::size_t>(count));
  return Text(text.substr(text.size() - take));
}

Text TextMid(std::string_view text, std::int32_t start, std::int32_t count) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || count <= 0) return Text();
  return Text(text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count)));
}

std::int32_t FindText(std::string_view text, std::string_view sought,
                      std::optional<std::int32_t> startPosition, bool ignoreCase) noexcept {
  const std::size_t s = StartIndex(startPosition);
  if (sought.empty()) return text.size() > s ? 1 : -1;
  const std::size_t at = FindFrom(text, sought, s, ignoreCase);
  return at == kNotFound ? -1 : ClampToInt32(at + 1);
}

Text ReplaceText(std::string_view text, std::string_view sought,
                 std::optional<std::string_view> replacement,
                 std::optional<std::int32_t> startPosition, std::optional<std::int32_t> count,
                 bool caseSensitive) {
  if (text.empty() || sought.empty()) return Text(text);
  const std::size_t s = StartIndex(startPosition);
  const bool unlimited = !count || *count < 0;
  if (s >= text.size() || (!unlimited && *count == 0)) return Text(text);

  const std::string_view with = replacement.value_or(std::string_view());
  Text out;
  out.reserve(text.size());
  std::size_t pos = s;
  out.append(text.substr(0, s));
  for (std::int32_t done = 0; unlimited || done < *count; ++done) {
    const std::size_t at = FindFrom(text, sought, pos, !caseSensitive);
    if (at == kNotFound) break;
    out.append(text.substr(pos, at - pos));
    out.append(with);
    pos = at + sought.size();
  }
  out.append(text.substr(pos));
  return out;
}

TextArray SplitText(std::string_view text, std::optional<std::string_view> separator,
                    std::optional<std::int32_t> maxCount) {
  TextArray parts;
  const std::string_view sep = separator.value_or(",");
  const bool unlimited = !maxCount;
  const std::size_t limit = unlimited ? 0 : static_cast<std::size_t>(std::max(*maxCount, 0));
  if (text.empty() || (!unlimited && limit == 0)) return parts;
  if (sep.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  std::size_t pos = 0;
  for (;;) {
    const std::size_t at = FindFrom(text, sep, pos, false);
    if (at == kNotFound) break;
    parts.emplace_back(text.substr(pos, at - pos));
    pos = at + sep.size();
    if (!unlimited && parts.size() == limit) return parts;
  }
  if (pos < text.size()) parts.emplace_back(text.substr(pos));
  return parts;
}

Text TrimSpaces(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t first = 0;
  while (first < n && IsSpaceAt(p, first, n)) first += p[first] == ' ' ? 1 : 2;
  // The end is found walking forward, since only a walk from the start knows which
  // bytes begin characters.
  std::size_t end = first;
  for (std::size_t i = first; i < n;) {
    const bool space = IsSpaceAt(p, i, n);
    const std::size_t width = (IsLeadByte(p[i]) && i + 1 < n) ? 2 : 1;
    i += width;
    if (!space) end = i;
  }
  return Text(text.substr(first, end - first));
}

Text ToText(std::int32_t value) { return std::to_string(value); }

Text ToText(double value) { return NumberTextGeneral(value, 13); }

Text ToText(const Bytes& bytes) {
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  const void* zero = bytes.empty() ? nullptr : std::memchr(data, 0, bytes.size());
  const std::size_t n =
      zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : bytes.size();
  return Text(data, n);
}

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::int32_t BytesLength(const Bytes& bytes) noexcept { return ClampToInt32(bytes.size()); }

Bytes BytesMid(const Bytes& bytes, std::int32_t start, std::int32_t count) {
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= bytes.size() || count <= 0) return Bytes();
  const std::size_t take = std::min(bytes.size() - from, static_cast<std::size_t>(count));
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
               bytes.begin() + static_cast<std::ptrdiff_t>(from + take));
}

Bytes BlankBytes(std::int32_t n) { return n <= 0 ? Bytes() : Bytes(static_cast<std::size_t>(n)); }

Text BlankText(std::int32_t n) { return n <= 0 ? Text() : Text(static_cast<std::size_t>(n), ' '); }

std::int32_t CharCode(std::string_view text, std::int32_t position) noexcept {
  if (position < 1 || static_cast<std::size_t>(position) > text.size()) return 0;
  return static_cast<std::int8_t>(text[static_cast<std::size_t>(position) - 1]);
}

Text CharFromCode(std::int32_t code) {
  const char byte = static_cast<char>(ToByte(code));
  return byte == 0 ? Text() : Text(1, byte);
}

Text ToUpper(std::string_view text) {
  Text out(text);
  for (std::size_t i = 0; i < out.size();) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - ('a' - 'A'));
    i += IsLeadByte(c) ? 2 : 1;
  }
  return out;
}

std::int32_t ToInteger(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  // The next character as ASCII: full-width forms (A3 A1 to A3 FE, and the ideographic
  // space A1 A1) read as their ASCII characters; any other double-byte character as -1.
  auto next = [&]() -> int {
    const unsigned char c = p[i];
    if (!IsLeadByte(c)) {
      ++i;
      return c;
    }
    if (i + 1 >= n) {
      ++i;
      return -1;
    }
    const unsigned char c2 = p[i + 1];
    i += 2;
    if (c == 0xA3 && c2 >= 0xA1 && c2 <= 0xFE) return c2 - 0x80;
    if (c == kIdeographicSpaceByte && c2 == kIdeographicSpaceByte) return ' ';
    return -1;
  };

  int c = -1;
  while (i < n) {
    c = next();
    if (c != ' ' && (c < '\t' || c > '\r')) break;
    c = -1;
  }
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = i < n ? next() : -1;
  }
  // Accumulate the magnitude in 64 bits and stop growing once it passes the int32 range.
  constexpr std::int64_t kCap = std::int64_t{1} << 32;
  std::int64_t magnitude = 0;
  while (c >= '0' && c <= '9') {
    if (magnitude < kCap) magnitude = magnitude * 10 + (c - '0');
    c = i < n ? next() : -1;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::int32_t ToInteger(double number) noexcept {
  if (std::isnan(number)) return 0;
  if (number >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (number <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(number);  // truncates toward zero
}

std::uint8_t ToByte(std::int32_t value) noexcept {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

double Remainder(double a, double b) noexcept { return std::fmod(a, b); }

std::int32_t ShiftLeft(std::int32_t a, std::int32_t n) noexcept {
  // Done on the unsigned value so that negative numbers shift without undefined behaviour.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) << (n & 31));
}

std::int32_t ShiftRight(std::int32_t a, std::int32_t n) noexcept { return a >> (n & 31); }

Text JoinText(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (const auto part : parts) total += part.size();
  Text out;
  out.reserve(total);
  for (const auto part : parts) out.append(part);
  return out;
}

Bytes JoinBytes(std::initializer_list<std::span<const std::uint8_t>> parts) {
  std::size_t total = 0;
  for (const auto part : parts) total += part.size();
  Bytes out;
  out.reserve(total);
  for (const auto part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace zendra
