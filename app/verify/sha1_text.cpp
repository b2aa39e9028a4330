#include "app/verify/sha1_text.h"

namespace zendra::verify {

std::optional<std::string> ParseSha1(std::string_view text) {
  if (text.size() != 40) return std::nullopt;
  std::string digest;
  for (const char c : text) {
    // By hand rather than <cctype>: the window sets the user's locale.
    if (c >= '0' && c <= '9') {
      digest += c;
    } else if (c >= 'a' && c <= 'f') {
      digest += static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'F') {
      digest += c;
    } else {
      return std::nullopt;
    }
  }
  return digest;
}

}  // namespace zendra::verify
