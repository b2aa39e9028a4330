#pragma once

#include <QString>

#include "platform/types.h"

namespace zendra {

// Program text (code page 936) to and from the toolkit's UTF-16 strings.
QString ToQString(const Text& text);
Text FromQString(const QString& text);

// For texts shown on screen: the program writes line breaks as CR LF, the toolkit wants LF.
QString ToDisplayString(const Text& text);

}  // namespace zendra
