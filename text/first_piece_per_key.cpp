#include "text/first_piece_per_key.h"

#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

#include "text/literal_search.h"

namespace zendra {
namespace {

constexpr std::size_t npos = std::string_view::npos;

enum Flag : std::uint8_t {
  kBoundary = 1,        // a character starts here
  kLeftTail = 2,        // leftTail stands here
  kAfterRightHead = 4,  // rightHead ends here
};

// What one distinct key looks for: where its left marker first stands and where its right
// marker first stands behind that.
struct Lookup {
  std::size_t left = npos;
  std::size_t right = npos;
};

unsigned char Lower(unsigned char byte) noexcept {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// ASCII letters folded where they stand as characters of their own, never as the second
// byte of a double-byte character.
std::string FoldedKey(std::string_view key) {
  std::string folded(key);
  for (std::size_t i = 0; i < key.size(); i += CharacterBytes(key, i))
    folded[i] = static_cast<char>(Lower(static_cast<unsigned char>(key[i])));
  return folded;
}

// GCC's 128-bit integer, for the exact product of two residues.
__extension__ typedef unsigned __int128 Wide;

// A polynomial hash modulo 2^61 - 1 with a base drawn per run, so that a site cannot
// prepare colliding texts; every hit is compared byte for byte all the same.
class RollingHash {
 public:
  static constexpr std::uint64_t kModulus = (std::uint64_t{1} << 61) - 1;

  explicit RollingHash(std::uint64_t base) noexcept : base_(base) {}
  std::uint64_t Multiply(std::uint64_t a, std::uint64_t b) const noexcept {
    const Wide product = static_cast<Wide>(a) * b;
    const std::uint64_t low = static_cast<std::uint64_t>(product & kModulus);
    const std::uint64_t high = static_cast<std::uint64_t>(product >> 61);
    std::uint64_t sum = low + high;
    sum = (sum & kModulus) + (sum >> 61);
    return sum >= kModulus ? sum - kModulus : sum;
  }
  std::uint64_t Push(std::uint64_t hash, unsigned char byte) const noexcept {
    const std::uint64_t next = Multiply(hash, base_) + byte + 1;
    return next >= kModulus ? next - kModulus : next;
  }
  // Removes the byte that entered `length` pushes ago; power is base^length.
  std::uint64_t Drop(std::uint64_t hash, unsigned char byte, std::uint64_t power) const noexcept {
    const std::uint64_t out = Multiply(byte + 1, power);
    return hash >= out ? hash - out : hash + kModulus - out;
  }
  std::uint64_t Of(std::string_view bytes) const noexcept {
    std::uint64_t hash = 0;
    for (const char c : bytes) hash = Push(hash, static_cast<unsigned char>(c));
    return hash;
  }
  std::uint64_t Power(std::size_t length) const noexcept {
    std::uint64_t power = 1;
    for (std::size_t i = 0; i < length; ++i) power = Multiply(power, base_);
    return power;
  }

 private:
  std::uint64_t base_;
};

std::uint64_t RandomBase() {
  std::random_device device;
  const std::uint64_t drawn = (std::uint64_t{device()} << 32) ^ device();
  return 256 + drawn % (RollingHash::kModulus - 512);
}

std::vector<std::uint8_t> MarkPositions(std::string_view text, std::string_view leftTail,
                                        std::string_view rightHead) {
  std::vector<std::uint8_t> flags(text.size() + 1, 0);
  for (std::size_t i = 0; i <= text.size(); i += i < text.size() ? CharacterBytes(text, i) : 1)
    flags[i] |= kBoundary;
  const auto mark = [&](std::string_view marker, std::size_t offset, Flag flag) {
    BoundaryWalker walker(text);
    for (std::size_t at = FindAsciiMarker(text, 0, marker, walker); at != npos;) {
      flags[at + offset] |= flag;
      if (at == text.size()) break;
      at = FindAsciiMarker(text, walker.Next(at), marker, walker);
    }
  };
  mark(leftTail, 0, kLeftTail);
  mark(rightHead, rightHead.size(), kAfterRightHead);
  return flags;
}

}  // namespace

TextArray FirstPiecePerKey(std::string_view text, const TextArray& keys,
                           std::string_view leftTail, std::string_view rightHead) {
  // Distinct keys by their folded form; equal forms find the same places.
  std::unordered_map<std::string, std::size_t> slotOf;
  std::vector<std::string> folded;
  std::vector<std::size_t> keySlot;
  std::vector<std::size_t> lengths;
  for (const Text& key : keys) {
    std::string form = FoldedKey(key);
    const auto [it, added] = slotOf.try_emplace(form, folded.size());
    if (added) {
      folded.push_back(std::move(form));
      bool known = false;
      for (const std::size_t length : lengths) known = known || length == key.size();
      if (!known && lengths.size() < kMaxKeyLengths) lengths.push_back(key.size());
    }
    keySlot.push_back(it->second);
  }

  std::vector<Lookup> found(folded.size());
  const std::vector<std::uint8_t> flags = MarkPositions(text, leftTail, rightHead);
  const auto foldedByte = [&](std::size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    return (flags[i] & kBoundary) != 0 ? Lower(byte) : byte;
  };
  const RollingHash hashing(RandomBase());

  for (const std::size_t length : lengths) {
    if (length > text.size()) continue;
    std::unordered_multimap<std::uint64_t, std::size_t> slotsByHash;
    for (std::size_t slot = 0; slot < folded.size(); ++slot)
      if (folded[slot].size() == length) slotsByHash.emplace(hashing.Of(folded[slot]), slot);
    const auto slotAt = [&](std::size_t at, std::uint64_t hash) -> std::size_t {
      const auto [first, last] = slotsByHash.equal_range(hash);
      for (auto it = first; it != last; ++it) {
        const std::string& key = folded[it->second];
        std::size_t k = 0;
        while (k < length && static_cast<unsigned char>(key[k]) == foldedByte(at + k)) ++k;
        if (k == length) return it->second;
      }
      return npos;
    };

    const std::uint64_t power = hashing.Power(length);
    std::uint64_t hash = 0;
    for (std::size_t i = 0; i < length; ++i) hash = hashing.Push(hash, foldedByte(i));
    for (std::size_t at = 0;; ++at) {
      const std::size_t end = at + length;
      const std::uint8_t edge = flags[end];
      const bool candidate = (flags[at] & kBoundary) && (edge & kBoundary) &&
                             ((edge & kLeftTail) || (flags[at] & kAfterRightHead));
      if (candidate) {
        const std::size_t slot = slotAt(at, hash);
        if (slot != npos) {
          Lookup& lookup = found[slot];
          if ((edge & kLeftTail) && lookup.left == npos) lookup.left = at;
          if ((flags[at] & kAfterRightHead) && lookup.left != npos && lookup.right == npos &&
              at - rightHead.size() >= lookup.left + length + leftTail.size())
            lookup.right = at - rightHead.size();
        }
      }
      if (end == text.size()) break;
      if (length > 0) hash = hashing.Drop(hashing.Push(hash, foldedByte(end)), foldedByte(at), power);
    }
  }

  TextArray pieces;
  pieces.reserve(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const Lookup& lookup = found[keySlot[k]];
    if (lookup.right == npos) {
      pieces.emplace_back();
      continue;
    }
    const std::size_t begin = lookup.left + keys[k].size() + leftTail.size();
    pieces.emplace_back(text.substr(begin, lookup.right - begin));
  }
  return pieces;
}

}  // namespace zendra
