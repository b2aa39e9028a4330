#include "platform/window/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/window/paint_events.h"

namespace zendra {

WaitCursor::WaitCursor() {
  if (qGuiApp == nullptr) return;
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  pushed_ = true;
}

WaitCursor::~WaitCursor() {
  // The last rows show before the cursor says the query is over.
  FinishFramePacedPaint();
  if (pushed_ && qGuiApp != nullptr) QGuiApplication::restoreOverrideCursor();
}

}  // namespace zendra
