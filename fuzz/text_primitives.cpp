// Finding, replacing, splitting, trimming, cutting and integer reading on arbitrary bytes,
// each checked against a plain byte-by-byte walk of the same double-byte rules.
#include "text/text_primitives.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

using zendra::Text;

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameAt(std::string_view text, std::size_t at, std::string_view sought, bool ignoreCase) {
  if (at + sought.size() > text.size()) return false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    const char a = text[at + k];
    const char b = sought[k];
    if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

// The first character start at or after `from` (itself taken as a character start) where
// sought stands; a lead byte standing last ends the walk.
std::size_t SlowFind(std::string_view text, std::string_view sought, std::size_t from,
                     bool ignoreCase) {
  for (std::size_t i = from; i < text.size();) {
    if (IsLead(text[i]) && i + 1 == text.size()) break;
    if (SameAt(text, i, sought, ignoreCase)) return i;
    i += IsLead(text[i]) ? 2 : 1;
  }
  return std::string_view::npos;
}

std::size_t StartIndex(std::optional<std::int32_t> start) {
  return !start || *start <= 1 ? 0 : static_cast<std::size_t>(*start) - 1;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

std::optional<std::int32_t> MaybeInt(FuzzedDataProvider& data, std::int32_t low,
                                     std::int32_t high) {
  if (!data.ConsumeBool()) return std::nullopt;
  return data.ConsumeIntegralInRange<std::int32_t>(low, high);
}

void CheckFind(std::string_view text, std::string_view sought, std::optional<std::int32_t> start,
               bool ignoreCase) {
  const std::int32_t found = zendra::FindText(text, sought, start, ignoreCase);
  const std::size_t s = StartIndex(start);
  if (sought.empty()) {
    Check(found == (text.size() > s ? 1 : -1));
    return;
  }
  const std::size_t expected = SlowFind(text, sought, s, ignoreCase);
  Check(found ==
        (expected == std::string_view::npos ? -1 : static_cast<std::int32_t>(expected + 1)));
}

void CheckReplace(std::string_view text, std::string_view sought, std::string_view with,
                  std::optional<std::int32_t> start, std::optional<std::int32_t> count,
                  bool caseSensitive) {
  const Text replaced = zendra::ReplaceText(text, sought, with, start, count, caseSensitive);
  const std::size_t s = StartIndex(start);
  const bool unlimited = !count || *count < 0;
  if (text.empty() || sought.empty() || s >= text.size() || (!unlimited && *count == 0)) {
    Check(replaced == text);
    return;
  }
  Text expected(text.substr(0, s));
  std::size_t pos = s;
  for (std::int32_t done = 0; unlimited || done < *count; ++done) {
    const std::size_t at = SlowFind(text, sought, pos, !caseSensitive);
    if (at == std::string_view::npos) break;
    expected.append(text.substr(pos, at - pos)).append(with);
    pos = at + sought.size();
  }
  expected.append(text.substr(pos));
  Check(replaced == expected);
}

void CheckSplit(std::string_view text, std::string_view separator,
                std::optional<std::int32_t> maxCount) {
  const zendra::TextArray parts = zendra::SplitText(text, separator, maxCount);
  if (text.empty() || (maxCount && *maxCount <= 0)) {
    Check(parts.empty());
    return;
  }
  if (maxCount) Check(parts.size() <= static_cast<std::size_t>(*maxCount));
  Text joined;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) joined += separator;
    joined += parts[k];
  }
  if (separator.empty()) {
    Check(parts.size() == 1 && joined == text);
  } else if (!maxCount || parts.size() < static_cast<std::size_t>(*maxCount)) {
    // Only a final separator may be lost, and only when it is one.
    Check(joined == text || joined + Text(separator) == text);
  } else {
    Check(text.substr(0, joined.size()) == joined);
  }
}

void CheckTrim(std::string_view text) {
  const Text trimmed = zendra::TrimSpaces(text);
  Check(text.find(trimmed) != std::string_view::npos);
  Check(trimmed.empty() || (trimmed.front() != ' ' && !trimmed.starts_with("\xA1\xA1")));
  Check(zendra::TrimSpaces(trimmed) == trimmed);
}

void CheckCuts(std::string_view text, std::int32_t start, std::int32_t count) {
  const std::size_t n = text.size();
  const std::size_t take = count <= 0 ? 0 : static_cast<std::size_t>(count);
  Check(zendra::TextLeft(text, count) == text.substr(0, take));
  Check(zendra::TextRight(text, count) == text.substr(n - std::min(n, take)));
  const Text mid = zendra::TextMid(text, start, count);
  if (start < 1 || static_cast<std::size_t>(start) > n || count <= 0)
    Check(mid.empty());
  else
    Check(mid == text.substr(static_cast<std::size_t>(start) - 1, take));
  const zendra::Bytes bytes = zendra::ToBytes(text);
  const zendra::Bytes cut = zendra::BytesMid(bytes, start, count);
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  Check(cut.size() == (from >= n ? 0 : std::min(n - from, take)));
  Check(zendra::CharCode(text, start) ==
        (start < 1 || static_cast<std::size_t>(start) > n
             ? 0
             : static_cast<std::int8_t>(text[static_cast<std::size_t>(start) - 1])));
}

void CheckUpper(std::string_view text) {
  const Text upper = zendra::ToUpper(text);
  Check(upper.size() == text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    Check(upper[i] == text[i] || (text[i] >= 'a' && text[i] <= 'z' && upper[i] == text[i] - 32));
}

void CheckInteger(std::string_view text) {
  const std::int32_t value = zendra::ToInteger(text);
  for (const char c : text)
    if (IsLead(c)) return;  // full-width forms: only the absence of a crash is checked
  // Plain ASCII follows strtoll, saturated to 32 bits.
  const std::string copy(text);
  const long long wide = std::strtoll(copy.c_str(), nullptr, 10);
  const long long low = std::numeric_limits<std::int32_t>::min();
  const long long high = std::numeric_limits<std::int32_t>::max();
  Check(value == static_cast<std::int32_t>(wide < low ? low : wide > high ? high : wide));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::string sought = data.ConsumeRandomLengthString(16);
  const std::string other = data.ConsumeRandomLengthString(16);
  const bool flag = data.ConsumeBool();
  const std::optional<std::int32_t> start = MaybeInt(data, -4, 300);
  const std::optional<std::int32_t> count = MaybeInt(data, -2, 8);
  const std::int32_t wideStart = data.ConsumeIntegral<std::int32_t>();
  const std::int32_t wideCount = data.ConsumeIntegral<std::int32_t>();
  const std::string text = data.ConsumeRemainingBytesAsString();

  CheckFind(text, sought, start, flag);
  CheckReplace(text, sought, other, start, count, flag);
  CheckSplit(text, sought, count);
  CheckSplit(text, other, std::nullopt);
  CheckTrim(text);
  CheckCuts(text, wideStart, wideCount);
  CheckCuts(text, start.value_or(1), count.value_or(1));
  CheckUpper(text);
  CheckInteger(text);
  CheckInteger(sought);
  return 0;
}
