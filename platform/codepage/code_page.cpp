#include "platform/codepage/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <iterator>

namespace zendra {
namespace {

// ICU's own substitution skips default-ignorable characters (a byte-order mark, zero-width
// spaces, soft hyphens), so texts would lose characters without a trace: every character
// without a code becomes "?" instead.
void SubstituteEveryUnmappable(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                               UChar32, UConverterCallbackReason reason, UErrorCode* error) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  *error = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, error);
}

// The buffers are sized for the longest possible result; a long text that came out much
// shorter gives the rest back instead of holding up to three times its size.
void ReleaseSpare(std::string& text) {
  constexpr std::size_t kWorthReleasing = std::size_t{1} << 20;
  if (text.capacity() - text.size() >= kWorthReleasing) text.shrink_to_fit();
}

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
    error = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter_, &SubstituteEveryUnmappable, nullptr, nullptr, nullptr,
                          &error);
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
  ReleaseSpare(result);
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
  ReleaseSpare(result);
  return result;
}

Text Cp936FromUtf8(std::string_view utf8) { return Utf16ToCp936(Utf8ToUtf16(utf8)); }

std::string Utf8FromCp936(std::string_view text) {
  UConverter* converter = Cp936Converter::ForThisThread();
  if (!converter || text.empty()) return {};
  // In pieces through a small buffer: a long text (a whole answer) never stands in memory
  // a third time as UTF-16. A code page 936 text holds no character beyond U+FFFF, so no
  // surrogate pair is split between pieces.
  std::string result;
  result.reserve(text.size());
  char16_t piece[16384];
  const char* source = text.data();
  const char* const sourceEnd = text.data() + text.size();
  ucnv_resetToUnicode(converter);
  while (true) {
    UChar* target = piece;
    UErrorCode error = U_ZERO_ERROR;
    ucnv_toUnicode(converter, &target, piece + std::size(piece), &source, sourceEnd, nullptr,
                   true, &error);
    if (U_FAILURE(error) && error != U_BUFFER_OVERFLOW_ERROR) return {};
    const auto units = static_cast<std::size_t>(target - piece);
    const std::size_t before = result.size();
    result.resize(before + units * 3);
    int32_t length = 0;
    UErrorCode utf8Error = U_ZERO_ERROR;
    u_strToUTF8WithSub(result.data() + before, static_cast<int32_t>(units * 3), &length, piece,
                       static_cast<int32_t>(units), 0xFFFD, nullptr, &utf8Error);
    if (U_FAILURE(utf8Error)) return {};
    result.resize(before + static_cast<std::size_t>(length));
    if (error != U_BUFFER_OVERFLOW_ERROR) return result;
  }
}

}  // namespace zendra
