#include "text/literal_search.h"

#include <algorithm>
#include <functional>

namespace zendra {
namespace {

constexpr unsigned char Folded(char c) noexcept {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

struct FoldedHash {
  std::size_t operator()(char c) const noexcept { return Folded(c); }
};
struct FoldedEqual {
  bool operator()(char a, char b) const noexcept { return Folded(a) == Folded(b); }
};

}  // namespace

std::size_t CharacterBytes(std::string_view text, std::size_t at) noexcept {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x81 || lead == 0xFF || at + 1 >= text.size()) return 1;
  const auto trail = static_cast<unsigned char>(text[at + 1]);
  const bool isTrail = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFE);
  return isTrail ? 2 : 1;
}

std::size_t FindAsciiMarker(std::string_view text, std::size_t from, std::string_view marker,
                            BoundaryWalker& walker) {
  if (from > text.size()) return std::string_view::npos;
  if (marker.empty()) return walker.IsBoundary(from) ? from : std::string_view::npos;
  // A searcher skips ahead by the marker's length on a mismatch; candidates inside a
  // double-byte character are passed over.
  const std::boyer_moore_horspool_searcher searcher(marker.begin(), marker.end(), FoldedHash(),
                                                    FoldedEqual());
  auto at = text.begin() + static_cast<std::ptrdiff_t>(from);
  while (true) {
    const auto found = std::search(at, text.end(), searcher);
    if (found == text.end()) return std::string_view::npos;
    const auto position = static_cast<std::size_t>(found - text.begin());
    if (walker.IsBoundary(position)) return position;
    at = found + 1;
  }
}

}  // namespace zendra
