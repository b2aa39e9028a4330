#pragma once

#include <cstddef>
#include <string_view>

namespace zendra {

// The length in bytes of the character at `at` as the code page converter reads it: a lead
// byte (81 to FE) with a trail byte (40 to 7E or 80 to FE) is one character, every other
// byte (80 and FF among them) is one of its own.
std::size_t CharacterBytes(std::string_view text, std::size_t at) noexcept;

// True for a standalone ASCII byte; the trail byte of a double-byte character is none.
inline bool IsAsciiCharacter(std::string_view text, std::size_t at) noexcept {
  return static_cast<unsigned char>(text[at]) < 0x80;
}

// Answers whether positions of one text are character boundaries. Questions must come in
// ascending order of position: the walk only goes forward, so a whole scan stays linear.
class BoundaryWalker {
 public:
  explicit BoundaryWalker(std::string_view text, std::size_t start = 0) noexcept
      : text_(text), at_(start) {}
  bool IsBoundary(std::size_t position) noexcept {
    while (at_ < position) at_ += CharacterBytes(text_, at_);
    return at_ == position;
  }
  // The next boundary after `position`, itself a boundary.
  std::size_t Next(std::size_t position) noexcept {
    return position + CharacterBytes(text_, position);
  }

 private:
  std::string_view text_;
  std::size_t at_;
};

// The first place at or after `from` where marker stands at a character boundary, ASCII
// letters compared without case; npos when there is none. marker is printable ASCII.
// Positions given to one walker across calls must not decrease.
std::size_t FindAsciiMarker(std::string_view text, std::size_t from, std::string_view marker,
                            BoundaryWalker& walker);

}  // namespace zendra
