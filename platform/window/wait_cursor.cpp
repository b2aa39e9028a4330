#include "platform/window/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace zendra {

WaitCursor::WaitCursor() {
  if (qGuiApp == nullptr) return;
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  pushed_ = true;
}

WaitCursor::~WaitCursor() {
  if (pushed_ && qGuiApp != nullptr) QGuiApplication::restoreOverrideCursor();
}

}  // namespace zendra
