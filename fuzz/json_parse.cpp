// JsonObject::Parse of a text taken from the data, then the reads the file list makes:
// five member texts and the type of the whole document. Nothing may crash or hang. A text
// that Qt's own JSON reader accepts must parse, and a text member must read back as Qt
// reads it.
#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "json/json_object.h"
#include "platform/codepage/code_page.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr const char* kPaths[] = {"FileName", "DownLoad", "PostDateString", "SHA1", "size"};

// Qt's reader lets raw control characters and unknown escapes stand inside strings; JSON
// does not.
bool HasLaxString(const std::string& utf8) {
  bool inString = false;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (!inString) {
      inString = c == '"';
    } else if (c == '"') {
      inString = false;
    } else if (c < 0x20) {
      return true;
    } else if (c == '\\') {
      if (++i == utf8.size()) return true;
      if (utf8[i] == 'u') {
        if (i + 4 >= utf8.size()) return true;
        for (std::size_t k = 1; k <= 4; ++k)
          if (!std::isxdigit(static_cast<unsigned char>(utf8[i + k]))) return true;
      } else if (std::string_view("\"\\/bfnrt").find(utf8[i]) == std::string_view::npos) {
        return true;
      }
    }
  }
  return false;
}

// The document as Qt reads it, when it is an object or an array of modest depth (the
// engines' nesting limits differ far down).
std::optional<QJsonDocument> ReadWithQt(const zendra::Text& text) {
  if (std::count(text.begin(), text.end(), '[') + std::count(text.begin(), text.end(), '{') > 400)
    return std::nullopt;
  const std::string utf8 = zendra::Utf8FromCp936(text);
  if (HasLaxString(utf8)) return std::nullopt;
  QJsonParseError error{};
  QJsonDocument document =
      QJsonDocument::fromJson(QByteArray(utf8.data(), static_cast<qsizetype>(utf8.size())), &error);
  if (error.error != QJsonParseError::NoError || document.isNull()) return std::nullopt;
  return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const zendra::Text text(reinterpret_cast<const char*>(bytes), size);
  zendra::JsonObject json;
  const bool parsed = json.Parse(text);
  zendra::Text read[std::size(kPaths)];
  for (std::size_t k = 0; k < std::size(kPaths); ++k)
    read[k] = json.GetText(zendra::Text("result.") + kPaths[k]);
  const zendra::JsonValueType type = json.GetValueType("");
  // A document that is there has a type; a refused one is null.
  Check(parsed ? type != zendra::TypeNull : type == zendra::TypeNull);

  const std::optional<QJsonDocument> document = ReadWithQt(text);
  if (!document) return 0;
  Check(parsed);
  Check(type == (document->isArray() ? zendra::TypeArray : zendra::TypeObject));
  if (!document->isObject()) return 0;
  const QJsonValue result = document->object().value(QStringLiteral("result"));
  if (!result.isObject()) return 0;
  for (std::size_t k = 0; k < std::size(kPaths); ++k) {
    const QJsonValue member = result.toObject().value(QString::fromLatin1(kPaths[k]));
    if (member.isString())
      Check(read[k] == zendra::Utf16ToCp936(member.toString().toStdU16String()));
  }
  return 0;
}
