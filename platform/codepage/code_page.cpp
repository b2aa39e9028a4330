#include "platform/codepage/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

namespace zendra {
namespace {

// One converter per thread, opened on first use and closed at thread exit.
class Cp936Converter {
 public:
  Cp936Converter() {
    UErrorCode error = U_ZERO_ERROR;
    converter_ = ucnv_open("windows-936", &error);
    if (U_FAILURE(error)) {
      converter_ = nullptr;
      return;
    }
    error = U_ZERO_ERROR;
    ucnv_setSubstChars(converter_, "?", 1, &error);
  }
  ~Cp936Converter() {
    if (converter_) ucnv_close(converter_);
  }
  Cp936Converter(const Cp936Converter&) = delete;
  Cp936Converter& operator=(const Cp936Converter&) = delete;

  UConverter* Get() const noexcept { return converter_; }

  static UConverter* ForThisThread() {
    thread_local Cp936Converter converter;
    return converter.Get();
  }

 private:
  UConverter* converter_ = nullptr;
};

}  // namespace

std::u16string Cp936ToUtf16(std::string_view text) {
  UConverter* converter = Cp936Converter::ForThisThread();
  if (!converter || text.empty()) return {};
  // Every byte gives at most one UTF-16 unit.
  std::u16string result(text.size() + 1, u'\0');
  UErrorCode error = U_ZERO_ERROR;
  ucnv_resetToUnicode(converter);
  const int32_t length = ucnv_toUChars(converter, result.data(), static_cast<int32_t>(result.size()),
                                       text.data(), static_cast<int32_t>(text.size()), &error);
  if (U_FAILURE(error)) return {};
  result.resize(static_cast<size_t>(length));
  return result;
}

Text Utf16ToCp936(std::u16string_view text) {
  UConverter* converter = Cp936Converter::ForThisThread();
  if (!converter || text.empty()) return {};
  // Every UTF-16 unit gives at most two bytes.
  Text result(text.size() * 2 + 1, '\0');
  UErrorCode error = U_ZERO_ERROR;
  ucnv_resetFromUnicode(converter);
  const int32_t length =
      ucnv_fromUChars(converter, result.data(), static_cast<int32_t>(result.size()), text.data(),
                      static_cast<int32_t>(text.size()), &error);
  if (U_FAILURE(error)) return {};
  result.resize(static_cast<size_t>(length));
  return result;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  if (bytes.empty()) return {};
  std::u16string result(bytes.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8WithSub(result.data(), static_cast<int32_t>(result.size()), &length, bytes.data(),
                       static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr, &error);
  if (U_FAILURE(error)) return {};
  result.resize(static_cast<size_t>(length));
  return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  std::string result(text.size() * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8WithSub(result.data(), static_cast<int32_t>(result.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &error);
  if (U_FAILURE(error)) return {};
  result.resize(static_cast<size_t>(length));
  return result;
}

Text Cp936FromUtf8(std::string_view utf8) { return Utf16ToCp936(Utf8ToUtf16(utf8)); }

std::string Utf8FromCp936(std::string_view text) { return Utf16ToUtf8(Cp936ToUtf16(text)); }

}  // namespace zendra
