#include "platform/window/input_hold.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

#include "platform/window/paint_events.h"
#include "platform/window/wait_cursor.h"

namespace zendra {
namespace {

// The window manager's close request, as the platform delivers it: to the window, while
// events are taken in.
void RequestClose(QWidget& widget) {
  const InputHold::Intake intake;
  QCloseEvent close;
  QCoreApplication::sendEvent(widget.windowHandle(), &close);
}

void Type(QWidget& widget, const QString& text) {
  for (const QChar c : text) {
    const int key = Qt::Key_A + (c.toLatin1() - 'a');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(&widget, &press);
    QCoreApplication::sendEvent(&widget, &release);
  }
}

TEST(InputHold, TypingDuringAQueryArrivesAfterItInOrder) {
  QLineEdit edit;
  edit.show();
  {
    const WaitCursor busy;
    Type(edit, "ab");
    ProcessPaintEvents();
    Type(edit, "c");
    EXPECT_EQ(edit.text(), "");
  }
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(edit.text(), "abc");
}

TEST(InputHold, NestedHoldsHandInputOnOnlyAtTheOutermostEnd) {
  QLineEdit edit;
  edit.show();
  {
    const InputHold outer;
    {
      const InputHold inner;
      Type(edit, "a");
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(edit.text(), "");
    EXPECT_TRUE(InputHold::Active());
  }
  EXPECT_FALSE(InputHold::Active());
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(edit.text(), "a");
}

TEST(InputHold, ACloseRequestWaitsUntilHonouredAndDropsTheInputHeldWithIt) {
  QLineEdit edit;
  edit.show();
  {
    const InputHold hold;
    EXPECT_FALSE(InputHold::HonourCloseRequest());
    Type(edit, "a");
    RequestClose(edit);
    EXPECT_TRUE(edit.isVisible());
    EXPECT_TRUE(InputHold::HonourCloseRequest());
    EXPECT_FALSE(edit.isVisible());
    EXPECT_FALSE(InputHold::HonourCloseRequest());
  }
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(edit.text(), "");
}

TEST(InputHold, InputAndCloseRequestsOutsideAHoldAndTheProgramsOwnCloseActAtOnce) {
  QLineEdit edit;
  edit.show();
  Type(edit, "a");
  EXPECT_EQ(edit.text(), "a");
  RequestClose(edit);
  EXPECT_FALSE(edit.isVisible());
  edit.show();
  {
    const InputHold hold;
    edit.close();
    EXPECT_FALSE(edit.isVisible());
  }
}

TEST(InputHold, AHeldCloseRequestStillClosesWhenTheHoldEnds) {
  QLineEdit edit;
  edit.show();
  {
    const InputHold hold;
    RequestClose(edit);
  }
  EXPECT_TRUE(edit.isVisible());
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(edit.isVisible());
}

}  // namespace
}  // namespace zendra
