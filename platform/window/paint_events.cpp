#include "platform/window/paint_events.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace zendra {

void ProcessPaintEvents() {
  if (QCoreApplication::instance() == nullptr) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace zendra
