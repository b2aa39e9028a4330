#include "platform/window/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWindow>
#include <memory>
#include <utility>
#include <vector>

namespace zendra {
namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

// How deep the thread is in taking in the platform's events.
int intake = 0;

struct HeldEvent {
  QPointer<QObject> receiver;
  std::unique_ptr<QEvent> event;
};

// Sits in front of every receiver of the application while a hold lasts. Input is held at
// the first receiver that sees it (for the platform's input, the top-level window), so
// that handing it on later runs the toolkit's own dispatch to the widget under the pointer
// or with the focus, as if it had just arrived.
class Holder : public QObject {
 public:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    // A request to close a top-level window reaches the window itself, from the window
    // manager while events are taken in, or from a close() of the program's, which acts.
    const bool closeRequest = type == QEvent::Close && receiver->isWindowType() && intake > 0;
    if (!closeRequest && !IsUserInput(type)) return false;
    held.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    return true;
  }

  std::vector<HeldEvent> held;
};

int depth = 0;
Holder* holder = nullptr;

}  // namespace

InputHold::InputHold() {
  if (depth++ > 0 || QCoreApplication::instance() == nullptr) return;
  holder = new Holder();
  QCoreApplication::instance()->installEventFilter(holder);
}

InputHold::~InputHold() {
  if (--depth > 0 || holder == nullptr) return;
  std::unique_ptr<Holder> ending(std::exchange(holder, nullptr));
  if (QCoreApplication::instance() == nullptr) return;
  QCoreApplication::instance()->removeEventFilter(ending.get());
  // Posted, not sent: a held pick that starts a query of its own must not run before the
  // input held with it has been queued behind it; that query's hold takes the rest again.
  for (HeldEvent& held : ending->held) {
    if (held.receiver) QCoreApplication::postEvent(held.receiver, held.event.release());
  }
}

bool InputHold::Active() noexcept { return holder != nullptr; }

InputHold::Intake::Intake() noexcept { ++intake; }

InputHold::Intake::~Intake() { --intake; }

bool InputHold::HonourCloseRequest() {
  if (holder == nullptr) return false;
  for (HeldEvent& held : holder->held) {
    if (held.event->type() != QEvent::Close || !held.receiver) continue;
    const QPointer<QObject> window = held.receiver;
    const std::unique_ptr<QEvent> close = std::move(held.event);
    holder->held.clear();
    // Sent past the filter: the request is acted on now, as the toolkit would have.
    QCoreApplication::instance()->removeEventFilter(holder);
    QCoreApplication::sendEvent(window, close.get());
    QCoreApplication::instance()->installEventFilter(holder);
    return true;
  }
  return false;
}

}  // namespace zendra
