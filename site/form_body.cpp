#include "site/form_body.h"

namespace zendra::site {
namespace {

int HexDigit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
               HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string FormValue(std::string_view body, std::string_view name) {
  while (!body.empty()) {
    const auto end = body.find('&');
    const auto field = body.substr(0, end);
    const auto equals = field.find('=');
    if (field.substr(0, equals) == name) {
      return equals == std::string_view::npos ? std::string()
                                              : PercentDecode(field.substr(equals + 1));
    }
    if (end == std::string_view::npos) break;
    body.remove_prefix(end + 1);
  }
  return {};
}

}  // namespace zendra::site
