#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <optional>
#include <vector>

#include "platform/codepage/code_page.h"
#include "platform/window/controls.h"
#include "platform/window/message_box_seam.h"
#include "platform/window/paint_events.h"
#include "platform/window/wait_cursor.h"

namespace zendra {
namespace {

const Text& Chinese() {
  static const Text text = Cp936FromUtf8("下载链接：中文");
  return text;
}

Bytes PngOf(int width, int height) {
  QImage image(width, height, QImage::Format_RGBA8888);
  image.fill(Qt::red);
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return Bytes(encoded.begin(), encoded.end());
}

QComboBox& ComboWith(QComboBox& combo, int items) {
  for (int i = 0; i < items; ++i) ComboAddItem(combo, "item" + std::to_string(i));
  return combo;
}

TEST(ComboControls, SetCurrentSelectionClampsAndNeverRaisesThePickEvent) {
  const struct {
    int items;
    int index;
    int expected;
  } cases[] = {
      {3, 0, 0}, {3, 2, 2}, {3, 3, 2}, {3, 1000, 2}, {1, 5, 0}, {0, 0, -1}, {0, 7, -1}, {3, -1, -1},
  };
  for (const auto& c : cases) {
    QComboBox combo;
    ComboWith(combo, c.items);
    int picks = 0;
    QObject::connect(&combo, &QComboBox::activated, [&picks] { ++picks; });
    SetCurrentSelection(combo, c.index);
    EXPECT_EQ(GetCurrentSelection(combo), c.expected) << c.items << " items, index " << c.index;
    EXPECT_EQ(picks, 0);
  }
}

TEST(ComboControls, ItemsKeepTheirOrderAndDeleteMovesLaterOnesUp) {
  QComboBox combo;
  EXPECT_EQ(GetCurrentSelection(combo), -1);
  for (const char* text : {"zeta", "alpha", "mid"}) ComboAddItem(combo, text);
  ComboAddItem(combo, Chinese());
  ASSERT_EQ(ComboItemCount(combo), 4);
  EXPECT_EQ(GetCurrentSelection(combo), -1) << "adding items selects none of them";
  SetCurrentSelection(combo, 2);
  ComboAddItem(combo, "last");
  EXPECT_EQ(GetCurrentSelection(combo), 2);
  ComboDeleteItem(combo, 4);
  EXPECT_EQ(combo.itemText(0), "zeta");
  EXPECT_EQ(combo.itemText(3), QString::fromUtf8("下载链接：中文"));

  ComboDeleteItem(combo, 1);
  ComboDeleteItem(combo, 9);   // out of range: nothing
  ComboDeleteItem(combo, -1);  // likewise
  ASSERT_EQ(ComboItemCount(combo), 3);
  EXPECT_EQ(combo.itemText(1), "mid");
}

TEST(ListControls, RowsAndCells) {
  QTreeWidget list;
  list.setColumnCount(3);
  EXPECT_EQ(ListInsertRow(list), 0);
  EXPECT_EQ(ListInsertRow(list), 1);
  ListSetCellText(list, 1, 2, Chinese());
  ListSetCellText(list, 5, 0, "lost");  // no such row: nothing
  ListSetCellText(list, 0, 3, "lost");  // no such column: nothing

  const struct {
    int row;
    int column;
    Text expected;
  } cells[] = {
      {1, 2, Chinese()}, {0, 0, ""}, {-1, 0, ""}, {2, 0, ""}, {1, 3, ""}, {1, -1, ""},
  };
  for (const auto& c : cells) {
    EXPECT_EQ(ListGetCellText(list, c.row, c.column), c.expected) << c.row << "," << c.column;
  }

  ListDeleteAll(list);
  EXPECT_EQ(list.topLevelItemCount(), 0);
  EXPECT_EQ(list.columnCount(), 3);  // the columns stay
  EXPECT_EQ(ListInsertRow(list), 0);
}

TEST(ListControls, CurrentSelectionIsTheFirstSelectedRow) {
  QTreeWidget list;
  list.setColumnCount(2);
  list.setSelectionMode(QAbstractItemView::ExtendedSelection);
  list.setSelectionBehavior(QAbstractItemView::SelectRows);
  for (int i = 0; i < 5; ++i) ListInsertRow(list);
  EXPECT_EQ(GetCurrentSelection(list), -1);

  list.topLevelItem(3)->setSelected(true);
  list.topLevelItem(1)->setSelected(true);
  EXPECT_EQ(GetCurrentSelection(list), 1);

  list.clearSelection();
  list.setCurrentItem(list.topLevelItem(4), 0, QItemSelectionModel::NoUpdate);
  EXPECT_EQ(GetCurrentSelection(list), -1) << "a current row without selection is no selection";
}

TEST(TextControls, ShowAndClear) {
  QLineEdit edit;
  SetText(edit, Chinese());
  EXPECT_EQ(edit.text(), QString::fromUtf8("下载链接：中文"));
  SetText(edit, "");
  EXPECT_TRUE(edit.text().isEmpty());

  QLabel label;
  SetText(label, "one\r\ntwo");
  EXPECT_EQ(label.text(), "one\ntwo");
  SetText(label, "");
  EXPECT_TRUE(label.text().isEmpty());
}

TEST(PictureControl, FitsThePictureIntoTheBoxKeepingItsShape) {
  const struct {
    int width;
    int height;
    QSize expected;
  } cases[] = {
      {305, 305, {230, 230}},
      {460, 230, {230, 115}},
      {100, 400, {57, 230}},
      {115, 115, {230, 230}},
  };
  for (const auto& c : cases) {
    QLabel box;
    box.resize(230, 230);
    ASSERT_TRUE(SetPicture(box, PngOf(c.width, c.height)));
    EXPECT_EQ(box.pixmap().size(), c.expected) << c.width << "x" << c.height;
  }
}

TEST(PictureControl, ABrokenPictureClearsTheBoxAndFails) {
  QLabel box;
  box.resize(230, 230);
  ASSERT_TRUE(SetPicture(box, PngOf(10, 10)));
  Bytes broken = PngOf(10, 10);
  broken.resize(broken.size() / 2);
  EXPECT_FALSE(SetPicture(box, broken));
  EXPECT_TRUE(box.pixmap().isNull());
  EXPECT_FALSE(SetPicture(box, {}));
}

TEST(Clipboard, HoldsTheTextPlaced) {
  for (const Text& text : {Text("https://127.0.0.1/file.iso"), Chinese(), Text()}) {
    QGuiApplication::clipboard()->setText("previous");
    EXPECT_TRUE(SetClipboardText(text));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdU16String(Cp936ToUtf16(text)));
  }
}

TEST(MessageBox, OneOkButtonNoIconNoOwner) {
  std::optional<bool> seen;
  ScopedMessageBoxInterceptor intercept([&seen](QMessageBox& box) {
    EXPECT_EQ(box.text(), QString::fromUtf8("已复制\n下载链接：中文"));
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8("提示"));
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.parentWidget(), nullptr);
    EXPECT_TRUE(box.isModal());
    ASSERT_EQ(box.buttons().size(), 1);
    EXPECT_EQ(box.standardButton(box.buttons().front()), QMessageBox::Ok);
    seen = true;
  });
  ShowMessageBox(Cp936FromUtf8("已复制\r\n下载链接：中文"), Cp936FromUtf8("提示"));
  EXPECT_TRUE(seen.has_value());
}

TEST(MessageBox, ReturnsWhenClosed) {
  bool closedOne = false;
  QTimer::singleShot(0, [&closedOne] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      closedOne = true;
      box->close();
    }
  });
  ShowMessageBox("text", "title");
  EXPECT_TRUE(closedOne);
}

TEST(WaitCursor, NestsAndRestores) {
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
  {
    WaitCursor outer;
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      WaitCursor inner;
      ProcessPaintEvents();
    }
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace zendra
