#include "platform/automation/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace zendra {

Text NumberTextGeneral(double value, int significantDigits) {
  // std::to_chars never consults the locale, unlike printf.
  char buffer[512];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::general, significantDigits);
  return error == std::errc() ? Text(buffer, end) : Text();
}

Text ScriptNumberText(double value) {
  if (std::isnan(value)) return "NaN";
  if (value == 0) return "0";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  const std::string_view sign = value < 0 ? "-" : "";
  // The shortest digits that read back as the value, in the form d.ddde+x.
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                          std::chars_format::scientific);
  if (error != std::errc()) return Text();
  const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t e = scientific.find('e');
  Text digits(scientific.substr(0, e));
  if (digits.size() > 1) digits.erase(1, 1);  // the decimal point
  const int k = static_cast<int>(digits.size());
  // n: where the decimal point goes, counted from the first digit.
  std::string_view exponentText = scientific.substr(e + 1);
  if (exponentText.front() == '+') exponentText.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  const int n = exponent + 1;

  Text out(sign);
  if (k <= n && n <= 21) {
    out += digits;
    out.append(static_cast<std::size_t>(n - k), '0');
  } else if (0 < n && n <= 21) {
    out += digits.substr(0, static_cast<std::size_t>(n));
    out += '.';
    out += digits.substr(static_cast<std::size_t>(n));
  } else if (-6 < n && n <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-n), '0');
    out += digits;
  } else {
    out += digits.substr(0, 1);
    if (k > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += n - 1 < 0 ? "e-" : "e+";
    out += std::to_string(std::abs(n - 1));
  }
  return out;
}

}  // namespace zendra
