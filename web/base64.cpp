#include "web/base64.h"

namespace zendra {

Text Base64Encode(const Bytes& bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  Text result;
  result.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    result += kAlphabet[(group >> 18) & 63];
    result += kAlphabet[(group >> 12) & 63];
    result += kAlphabet[(group >> 6) & 63];
    result += kAlphabet[group & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    const std::uint32_t group = (bytes[i] << 16) | (rest == 2 ? bytes[i + 1] << 8 : 0);
    result += kAlphabet[(group >> 18) & 63];
    result += kAlphabet[(group >> 12) & 63];
    result += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    result += '=';
  }
  return result;
}

}  // namespace zendra
