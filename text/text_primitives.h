#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "platform/types.h"

namespace zendra {

// The text primitives. Lengths and positions count bytes, positions count from 1 and a
// search that finds nothing gives -1. Scans are double-byte aware: a byte of 128 or more
// begins a two-byte character, and such a byte as the very last byte ends the scan.
// Case folding touches only the ASCII letters. No primitive fails: an argument out of
// range gives the empty or boundary result.

std::int32_t TextLength(std::string_view text) noexcept;
Text TextLeft(std::string_view text, std::int32_t count);
Text TextRight(std::string_view text, std::int32_t count);
Text TextMid(std::string_view text, std::int32_t start, std::int32_t count);

std::int32_t FindText(std::string_view text, std::string_view sought,
                      std::optional<std::int32_t> startPosition = std::nullopt,
                      bool ignoreCase = false) noexcept;
Text ReplaceText(std::string_view text, std::string_view sought,
                 std::optional<std::string_view> replacement = std::nullopt,
                 std::optional<std::int32_t> startPosition = std::nullopt,
                 std::optional<std::int32_t> count = std::nullopt, bool caseSensitive = false);
TextArray SplitText(std::string_view text, std::optional<std::string_view> separator = std::nullopt,
                    std::optional<std::int32_t> maxCount = std::nullopt);
// Removes ASCII spaces and ideographic spaces (A1 A1) at both ends; tabs and line ends stay.
Text TrimSpaces(std::string_view text);

Text ToText(std::int32_t value);
Text ToText(double value);        // as "%.13g" writes it
Text ToText(const Bytes& bytes);  // up to the first zero byte
Bytes ToBytes(std::string_view text);

std::int32_t BytesLength(const Bytes& bytes) noexcept;
Bytes BytesMid(const Bytes& bytes, std::int32_t start, std::int32_t count);
Bytes BlankBytes(std::int32_t n);
Text BlankText(std::int32_t n);

// The byte at position read as a signed 8-bit value; 0 outside the text.
std::int32_t CharCode(std::string_view text, std::int32_t position = 1) noexcept;
Text CharFromCode(std::int32_t code);
Text ToUpper(std::string_view text);

// atoi rules after full-width forms are read as their ASCII characters; saturates.
std::int32_t ToInteger(std::string_view text) noexcept;
// Truncates toward zero; saturates, NaN gives 0.
std::int32_t ToInteger(double number) noexcept;
std::uint8_t ToByte(std::int32_t value) noexcept;
double Remainder(double a, double b) noexcept;

template <class... More>
constexpr std::int32_t BitAnd(std::int32_t a, std::int32_t b, More... more) noexcept {
  return ((a & b) & ... & static_cast<std::int32_t>(more));
}
std::int32_t ShiftLeft(std::int32_t a, std::int32_t n) noexcept;
std::int32_t ShiftRight(std::int32_t a, std::int32_t n) noexcept;  // arithmetic

Text JoinText(std::initializer_list<std::string_view> parts);
Bytes JoinBytes(std::initializer_list<std::span<const std::uint8_t>> parts);

}  // namespace zendra
