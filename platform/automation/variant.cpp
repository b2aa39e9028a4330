#include "platform/automation/variant.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/automation/number_text.h"

namespace zendra {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A decimal number with optional sign, fraction and exponent, nothing else around it
// but blanks: the platform refuses hexadecimal, "inf" and "nan" texts.
std::optional<double> ParseNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::string_view digits = text;
  if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
  if (digits.empty() ||
      !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.'))
    return std::nullopt;
  double value = 0;
  const char* first = text.data() + (text.front() == '+' ? 1 : 0);
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::optional<Text> Variant::TryText() const {
  switch (GetKind()) {
    case Kind::Empty:
      return Text();
    case Kind::Integer:
      return std::to_string(std::get<std::int32_t>(value_));
    case Kind::Double:
      // Doubles come from the script host, whose callers read numbers as the script
      // language writes them.
      return ScriptNumberText(std::get<double>(value_));
    case Kind::Boolean:
      // The platform writes booleans as the numbers they stand for.
      return Text(std::get<bool>(value_) ? "-1" : "0");
    case Kind::Text:
      return std::get<Text>(value_);
    case Kind::Bytes: {
      const Bytes& bytes = std::get<Bytes>(value_);
      const auto end = std::find(bytes.begin(), bytes.end(), 0);
      return Text(bytes.begin(), end);
    }
    case Kind::Object:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<double> Variant::TryNumber() const noexcept {
  switch (GetKind()) {
    case Kind::Empty:
      return 0.0;
    case Kind::Integer:
      return std::get<std::int32_t>(value_);
    case Kind::Double:
      return std::get<double>(value_);
    case Kind::Boolean:
      return std::get<bool>(value_) ? -1.0 : 0.0;
    case Kind::Text:
      return ParseNumber(std::get<Text>(value_));
    case Kind::Bytes:
    case Kind::Object:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<bool> Variant::TryBool() const noexcept {
  switch (GetKind()) {
    case Kind::Empty:
      return false;
    case Kind::Integer:
      return std::get<std::int32_t>(value_) != 0;
    case Kind::Double:
      return std::get<double>(value_) != 0.0;
    case Kind::Boolean:
      return std::get<bool>(value_);
    case Kind::Text: {
      const std::string_view text = TrimBlanks(std::get<Text>(value_));
      if (EqualsIgnoringCase(text, "true")) return true;
      if (EqualsIgnoringCase(text, "false")) return false;
      if (const auto number = ParseNumber(text)) return *number != 0.0;
      return std::nullopt;
    }
    case Kind::Bytes:
    case Kind::Object:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<Bytes> Variant::TryBytes() const {
  switch (GetKind()) {
    case Kind::Empty:
      return Bytes();
    case Kind::Bytes:
      return std::get<Bytes>(value_);
    case Kind::Text: {
      const Text& text = std::get<Text>(value_);
      return Bytes(text.begin(), text.end());
    }
    default:
      return std::nullopt;
  }
}

}  // namespace zendra
