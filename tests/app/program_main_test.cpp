#include "app/program_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
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

void CloseMainWindowSoon(int ms) {
  QTimer::singleShot(ms, [] {
    if (MainWindow* window = OpenMainWindow()) window->close();
  });
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
    // Start-up ends after its first failed request; the window closes at the next turn
    // of the event loop.
    CloseMainWindowSoon(0);
    return ObjectRef<HttpRequest>();  // every request fails: start-up runs on empty answers
  });
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
  ScopedFactory<HttpRequest> requests([] { return ObjectRef<HttpRequest>(); });
  // Should the loop wait anyway, end it after a while so the failure shows instead of a hang.
  QTimer rescue;
  rescue.setSingleShot(true);
  bool rescued = false;
  QObject::connect(&rescue, &QTimer::timeout, [&rescued] {
    rescued = true;
    QApplication::quit();
  });
  rescue.start(5000);
  CloseMainWindowSoon(0);
  EXPECT_EQ(RunMainWindow(), 0);
  EXPECT_FALSE(rescued);
  EXPECT_EQ(OpenMainWindow(), nullptr);
}

TEST(ProgramStart, StartUpRoutineReturnsZero) { EXPECT_EQ(StartUpRoutine(), 0); }

}  // namespace
}  // namespace zendra
