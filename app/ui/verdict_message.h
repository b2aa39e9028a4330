#pragma once

#include <QString>

#include "app/verify/verdict.h"

class QWidget;

namespace zendra {

// The one message that ends a check: a green check for a match, a warning with both
// digests (the catalogue's first) for a mismatch, an error with the reason otherwise.
// A cancelled check shows nothing. Returns when the box is closed.
void ShowVerdict(QWidget* parent, const QString& fileName, const verify::Verdict& verdict);

// The text of that message.
QString VerdictText(const QString& fileName, const verify::Verdict& verdict);

}  // namespace zendra
