#include "web/decode_response_text.h"

#include <string_view>

#include "platform/codepage/code_page.h"

namespace zendra {

Text DecodeResponseText(const Bytes& body) {
  if (body.empty()) return Text();
  const std::string_view bytes(reinterpret_cast<const char*>(body.data()), body.size());
  Text text = Utf16ToCp936(Utf8ToUtf16(bytes));
  if (const auto zero = text.find('\0'); zero != Text::npos) text.resize(zero);
  return text;
}

}  // namespace zendra
