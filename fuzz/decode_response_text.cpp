// DecodeResponseText of a body taken from the data: no zero byte in the result, and the
// result reads back through code page 936 to the same bytes.
#include "web/decode_response_text.h"

#include <cstdint>
#include <cstdlib>

#include "platform/codepage/code_page.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const zendra::Bytes body(bytes, bytes + size);
  const zendra::Text text = zendra::DecodeResponseText(body);
  Check(text.find('\0') == zendra::Text::npos);
  Check(text.size() <= 2 * size);
  Check(zendra::Utf16ToCp936(zendra::Cp936ToUtf16(text)) == text);
  return 0;
}
