#include "app/program_main.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <functional>
#include <utility>
#include <vector>

#include "app/ui/main_window.h"
#include "platform/automation/factories.h"

namespace zendra {
namespace {

MainWindow* OpenMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<MainWindow*>(widget); window && window->isVisible()) {
      return window;
    }
  }
  return nullptr;
}

bool ListsEmpty(MainWindow& window) {
  return window.categoryCombo().count() == 0 && window.productCombo().count() == 0 &&
         window.languageCombo().count() == 0 && window.fileList().topLevelItemCount() == 0 &&
         window.linkEdit().text().isEmpty();
}

// Runs `action` once, the first time the message loop is about to wait for input: the
// start-up is done by then, however long a busy machine took over it. Processing events
// during start-up never waits, so it does not count.
class OnFirstIdle {
 public:
  explicit OnFirstIdle(std::function<void()> action) : action_(std::move(action)) {
    connection_ = QObject::connect(QAbstractEventDispatcher::instance(),
                                   &QAbstractEventDispatcher::aboutToBlock, [this] {
                                     QObject::disconnect(connection_);
                                     // Queued, so the action runs as an event of the loop.
                                     QMetaObject::invokeMethod(qApp, action_, Qt::QueuedConnection);
                                   });
  }
  ~OnFirstIdle() { QObject::disconnect(connection_); }
  OnFirstIdle(const OnFirstIdle&) = delete;
  OnFirstIdle& operator=(const OnFirstIdle&) = delete;

 private:
  std::function<void()> action_;
  QMetaObject::Connection connection_;
};

void CloseMainWindow() {
  if (MainWindow* window = OpenMainWindow()) window->close();
}

// What the program looked like when the window first appeared, and whenever a request
// object was created.
class StartOrder : public QObject {
 public:
  struct Snapshot {
    bool listsEmpty;
    bool windowVisible;
    bool picturesShown;
  };

  StartOrder() { qApp->installEventFilter(this); }
  ~StartOrder() override { qApp->removeEventFilter(this); }

  static Snapshot Take() {
    MainWindow* window = OpenMainWindow();
    const bool pictures = window != nullptr && !window->pictureBox1().pixmap().isNull() &&
                          !window->pictureBox2().pixmap().isNull() &&
                          !window->pictureBox3().pixmap().isNull();
    return {window != nullptr && ListsEmpty(*window), window != nullptr, pictures};
  }

  std::vector<Snapshot> atShow;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<MainWindow*>(watched) != nullptr) {
      atShow.push_back(Take());
    }
    return false;
  }
};

TEST(ProgramStart, ListsEmptyAtShowAndPicturesBeforeAnyRequest) {
  StartOrder order;
  std::vector<StartOrder::Snapshot> atRequest;
  ScopedFactory<HttpRequest> requests([&atRequest] {
    atRequest.push_back(StartOrder::Take());
    return ObjectRef<HttpRequest>();  // every request fails: start-up runs on empty answers
  });
  OnFirstIdle close(&CloseMainWindow);
  EXPECT_EQ(RunMainWindow(), 0);

  ASSERT_EQ(order.atShow.size(), 1u);
  EXPECT_FALSE(atRequest.empty());
  EXPECT_TRUE(order.atShow[0].listsEmpty);
  EXPECT_FALSE(order.atShow[0].picturesShown);
  for (const auto& snapshot : atRequest) {
    EXPECT_TRUE(snapshot.windowVisible);
    EXPECT_TRUE(snapshot.picturesShown);
  }
  EXPECT_EQ(OpenMainWindow(), nullptr);
}

// Closed before the message loop starts: the program ends instead of waiting for a
// window that is gone.
TEST(ProgramStart, WindowClosedDuringStartUpDoesNotHang) {
  // The window goes while the first start-up request is being made.
  ScopedFactory<HttpRequest> requests([] {
    CloseMainWindow();
    return ObjectRef<HttpRequest>();
  });
  // A loop that waits at all is waiting for a window that is gone: end it so the failure
  // shows instead of a hang.
  bool rescued = false;
  OnFirstIdle rescue([&rescued] {
    rescued = true;
    QApplication::quit();
  });
  EXPECT_EQ(RunMainWindow(), 0);
  EXPECT_FALSE(rescued);
  EXPECT_EQ(OpenMainWindow(), nullptr);
}

TEST(ProgramStart, StartUpRoutineReturnsZero) { EXPECT_EQ(StartUpRoutine(), 0); }

}  // namespace
}  // namespace zendra
