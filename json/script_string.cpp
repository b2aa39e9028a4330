#include "json/script_string.h"

#include <string>

#include "platform/codepage/code_page.h"

namespace zendra {

Text EscapeScriptString(std::string_view text) {
  // Escaping works on characters, not bytes: a stray lead byte next to an escape could
  // otherwise swallow the backslash when the host decodes the source.
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  const std::u16string characters = Cp936ToUtf16(text);
  std::u16string escaped;
  escaped.reserve(characters.size() + characters.size() / 8 + 2);
  for (const char16_t c : characters) {
    switch (c) {
      case u'\\':
        escaped += u"\\\\";
        break;
      case u'"':
        escaped += u"\\\"";
        break;
      case u'\'':
        escaped += u"\\'";
        break;
      case u'\r':
        escaped += u"\\r";
        break;
      case u'\n':
        escaped += u"\\n";
        break;
      default:
        if (c < 0x20 || c == 0x2028 || c == 0x2029) {
          escaped += u"\\u";
          for (int shift = 12; shift >= 0; shift -= 4) escaped += kHex[(c >> shift) & 0xF];
        } else {
          escaped += c;
        }
    }
  }
  return Utf16ToCp936(escaped);
}

Text QuoteScriptString(std::string_view text) {
  Text quoted = "\"";
  quoted += EscapeScriptString(text);
  quoted += '"';
  return quoted;
}

}  // namespace zendra
