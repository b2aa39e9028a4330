#include "platform/window/qt_text.h"

#include "platform/codepage/code_page.h"

namespace zendra {

QString ToQString(const Text& text) { return QString::fromStdU16String(Cp936ToUtf16(text)); }

Text FromQString(const QString& text) { return Utf16ToCp936(text.toStdU16String()); }

QString ToDisplayString(const Text& text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

}  // namespace zendra
