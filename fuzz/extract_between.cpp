// ExtractBetween with markers, text and options taken from the data. Always: the count
// returned is the number of elements. For plain ASCII markers and text, the elements are
// also compared with a direct search for the shortest middle after each left marker.
#include "text/extract_between.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using zendra::Text;
using zendra::TextArray;

void Check(bool condition) {
  if (!condition) std::abort();
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameAt(std::string_view text, std::size_t at, std::string_view marker) {
  if (at + marker.size() > text.size()) return false;
  for (std::size_t k = 0; k < marker.size(); ++k)
    if (Fold(text[at + k]) != Fold(marker[k])) return false;
  return true;
}

// Characters that stand for themselves in a marker once it is escaped; the others (".",
// "|", "^", "$", the backslash, line ends) keep a pattern meaning.
bool IsLiteralMarker(std::string_view marker) {
  for (const char c : marker) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) return false;
    if (std::string_view(".|^$\\").find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool IsPlainText(std::string_view text) {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u == 0 || u >= 0x7F) return false;
  }
  return true;
}

// Global matching as a script engine does it: each match starts at the earliest left
// marker that has a right marker behind it and takes the shortest middle; an empty match
// moves the search on by one character.
TextArray SlowExtract(std::string_view text, std::string_view left, std::string_view right) {
  TextArray pieces;
  const std::size_t n = text.size();
  for (std::size_t from = 0; from <= n;) {
    bool found = false;
    std::size_t begin = 0;
    std::size_t end = 0;
    for (std::size_t p = from; p <= n && !found; ++p) {
      if (!SameAt(text, p, left)) continue;
      for (std::size_t k = p + left.size(); k <= n; ++k) {
        if (SameAt(text, k, right)) {
          pieces.emplace_back(text.substr(p + left.size(), k - p - left.size()));
          begin = p;
          end = k + right.size();
          found = true;
          break;
        }
      }
    }
    if (!found) break;
    from = end > begin ? end : end + 1;
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::string left = data.ConsumeRandomLengthString(24);
  const std::string right = data.ConsumeRandomLengthString(24);
  zendra::ExtractOptions options;
  const std::uint8_t which = data.ConsumeIntegral<std::uint8_t>();
  if (which & 1) options.maxLength = data.ConsumeIntegralInRange<std::int32_t>(-2, 64);
  if (which & 2) options.prefix = data.ConsumeRandomLengthString(8);
  if (which & 4) options.suffix = data.ConsumeRandomLengthString(8);
  if (which & 8) options.includeLeft = data.ConsumeBool();
  if (which & 16) options.includeRight = data.ConsumeBool();
  const std::string text = data.ConsumeRemainingBytesAsString();

  TextArray results{"stale"};
  const std::int32_t count = zendra::ExtractBetween(text, left, right, results, options);
  Check(count >= 0 && static_cast<std::size_t>(count) == results.size());

  if (IsLiteralMarker(left) && IsLiteralMarker(right) && IsPlainText(text)) {
    const std::int32_t maxLength = options.maxLength.value_or(0);
    TextArray expected;
    for (const Text& piece : SlowExtract(text, left, right)) {
      if (maxLength != 0 && static_cast<std::int64_t>(piece.size()) > maxLength) continue;
      expected.push_back((options.includeLeft.value_or(false) ? left : "") +
                         options.prefix.value_or("") + piece + options.suffix.value_or("") +
                         (options.includeRight.value_or(false) ? right : ""));
    }
    Check(results == expected);
  }
  return 0;
}
