// The user's input and the window manager's close request while a query blocks the window.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "tests/app/catalogue_fixture.h"

namespace zendra {
namespace {

// Runs on the window's thread once it next takes in events, as the platform's input would.
template <class Action>
void WhenTheWindowLooks(Action action) {
  QMetaObject::invokeMethod(qApp, action, Qt::QueuedConnection);
}

// Done from the site's own thread when a details query arrives, before it is answered.
void OnDetailsQuery(site::SampleSite& site, const std::string& fileId, std::function<void()> act) {
  site.SetResponder([fileId, act](const LoggedRequest& request) -> std::optional<site::Reply> {
    if (request.path == "/Category/GetProduct" && request.body == "id=" + fileId) act();
    return std::nullopt;
  });
}

void Press(QWidget& widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
  QCoreApplication::sendEvent(&widget, &release);
}

void Click(QWidget& widget, QPoint at) {
  const QPointF local(at);
  const QPointF global(widget.mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
  QCoreApplication::sendEvent(&widget, &release);
}

MainWindow* ShownMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<MainWindow*>(widget); window && window->isVisible())
      return window;
  }
  return nullptr;
}

using InputDuringQueryTest = CatalogueTest;

TEST_F(InputDuringQueryTest, PicksAndClicksMadeDuringStartUpActAfterItInOrder) {
  window_.show();
  OnDetailsQuery(site_, "f-2", [this] {
    WhenTheWindowLooks([this] {
      // The second product, picked from the keyboard, then the catalogue's tab.
      Press(window_.productCombo(), Qt::Key_Down);
      QTabBar& tabs = *window_.tabs().tabBar();
      Click(tabs, tabs.tabRect(1).center());
    });
  });

  StartUp();
  // Nothing of it acted during start-up: its requests ran undisturbed to the last file.
  EXPECT_EQ(RequestLines().back(), "POST /Category/GetProduct id=f-3");
  EXPECT_EQ(window_.tabs().currentIndex(), 0);
  EXPECT_EQ(window_.productCombo().currentIndex(), 0);
  EXPECT_EQ(Rows(window_.fileList()).size(), 3u);

  site_.SetResponder(nullptr);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window_.productCombo().currentIndex(), 1);
  EXPECT_EQ(RequestLines().back(), "POST /Category/GetLang id=p-2");
  EXPECT_EQ(ComboTexts(window_.languageCombo()), (std::vector<std::string>{"没有数据！"}));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window_.tabs().currentIndex(), 1);
}

TEST_F(InputDuringQueryTest, ACloseRequestEndsStartUpWhenTheRequestInFlightReturns) {
  // Each answer takes longer than a frame, so the window looks at its events after each.
  site_.SetLatency(std::chrono::milliseconds(20));
  OnDetailsQuery(site_, "f-2", [] {
    WhenTheWindowLooks([] {
      if (MainWindow* window = ShownMainWindow()) {
        QCloseEvent close;
        QCoreApplication::sendEvent(window->windowHandle(), &close);
      }
    });
  });

  EXPECT_EQ(RunMainWindow(site_.BaseUrl()), 0);
  EXPECT_EQ(ShownMainWindow(), nullptr);
  EXPECT_EQ(RequestLines().back(), "POST /Category/GetProduct id=f-2");
}

TEST_F(InputDuringQueryTest, ACloseRequestDuringAPickEndsThePickAndTheProgram) {
  site_.SetLatency(std::chrono::milliseconds(20));
  // At the end of start-up the second language is picked; its files are asked for, and
  // the close comes while the list of their ids is.
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<site::Reply> {
    if (request.body == "id=f-3") {
      WhenTheWindowLooks([] {
        if (MainWindow* window = ShownMainWindow()) Press(window->languageCombo(), Qt::Key_Down);
      });
    } else if (request.path == "/Category/GetList" &&
               request.body.find("lang=l-2") != std::string::npos) {
      WhenTheWindowLooks([] {
        if (MainWindow* window = ShownMainWindow()) {
          QCloseEvent close;
          QCoreApplication::sendEvent(window->windowHandle(), &close);
        }
      });
    }
    return std::nullopt;
  });

  EXPECT_EQ(RunMainWindow(site_.BaseUrl()), 0);
  EXPECT_EQ(ShownMainWindow(), nullptr);
  EXPECT_EQ(RequestLines().back(), "POST /Category/GetList id=p-1&lang=l-2&filter=true");
}

}  // namespace
}  // namespace zendra
