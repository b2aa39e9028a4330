#include "app/ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTreeWidget>
#include <ostream>
#include <vector>

#include "app/ui/pictures.h"
#include "platform/png/decode_png.h"
#include "platform/window/controls.h"

// Readable failure messages for rectangles.
inline void PrintTo(const QRect& rect, std::ostream* out) {
  *out << "(" << rect.x() << ", " << rect.y() << ") " << rect.width() << " x " << rect.height();
}

namespace zendra {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    QApplication::processEvents();
  }

  QWidget* Control(const char* name) { return window_.findChild<QWidget*>(U(name)); }

  MainWindow window_;
};

TEST_F(MainWindowTest, WindowAndTabControl) {
  EXPECT_EQ(window_.objectName(), U("窗口"));
  EXPECT_EQ(window_.windowTitle(), U("Zendra 非官方软件 V1.0.0.191127 "));
  EXPECT_EQ(window_.frameGeometry(), QRect(50, 50, 896, 429));

  QTabWidget& tabs = window_.tabs();
  EXPECT_EQ(tabs.objectName(), U("高级选择夹1"));
  EXPECT_EQ(tabs.geometry(), QRect(1, 1, 888, 396));
  ASSERT_EQ(tabs.count(), 2);
  EXPECT_EQ(tabs.tabText(0), U("软件说明"));
  EXPECT_EQ(tabs.tabText(1), U("Zendra 系统"));
}

TEST_F(MainWindowTest, ControlsStandWhereTheFormPutsThem) {
  const struct {
    const char* name;
    int page;
    QRect rect;  // in the tab control's coordinates
  } controls[] = {
      {"标签5", 0, {8, 34, 392, 77}},        {"图片框3", 0, {60, 117, 230, 230}},
      {"图片框1", 0, {324, 117, 230, 230}},  {"图片框2", 0, {588, 117, 230, 230}},
      {"标签6", 0, {64, 351, 224, 32}},      {"标签7", 0, {328, 351, 224, 32}},
      {"标签8", 0, {593, 351, 224, 32}},     {"标签1", 1, {6, 29, 64, 17}},
      {"组合框1", 1, {73, 29, 110, 20}},     {"标签2", 1, {186, 29, 64, 17}},
      {"组合框2", 1, {253, 29, 267, 20}},    {"标签3", 1, {528, 29, 64, 17}},
      {"组合框3", 1, {595, 29, 93, 20}},     {"标签4", 1, {695, 31, 183, 16}},
      {"超级列表框1", 1, {4, 55, 879, 312}}, {"编辑框1", 1, {3, 369, 882, 24}},
  };
  for (const auto& c : controls) {
    QWidget* control = Control(c.name);
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_EQ(control->parentWidget(), window_.tabs().widget(c.page)) << c.name;
    const QPoint at = control->mapTo(&window_.tabs(), QPoint(0, 0));
    EXPECT_EQ(QRect(at, control->size()), c.rect) << c.name;
  }
}

TEST_F(MainWindowTest, LabelTextsAndBuddies) {
  const struct {
    const char* name;
    const char* text;
    QWidget* buddy;
  } labels[] = {
      {"标签5",
       "1、此软件仅供交流学习使用，请勿它用，如有侵权，请联系作者删除。\n\n2、此软件栖木论坛首发。"
       "\n\n",
       nullptr},
      {"标签6", "QQ赞助付款码", &window_.pictureBox3()},
      {"标签7", "微信赞助付款码", &window_.pictureBox1()},
      {"标签8", "支付宝赞助付款码", &window_.pictureBox2()},
      {"标签1", "软件类目：", &window_.categoryCombo()},
      {"标签2", "软件名称：", &window_.productCombo()},
      {"标签3", "语言版本：", &window_.languageCombo()},
      {"标签4", "选中双击可复制下载链接到剪切板", &window_.fileList()},
  };
  for (const auto& c : labels) {
    auto* label = qobject_cast<QLabel*>(Control(c.name));
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(label->text(), U(c.text)) << c.name;
    EXPECT_EQ(label->buddy(), c.buddy) << c.name;
  }
  EXPECT_FALSE(window_.linkEdit().accessibleName().isEmpty());
  EXPECT_EQ(window_.pictureBox1().accessibleName(), U("微信赞助付款码"));
}

TEST_F(MainWindowTest, AccessorsNameTheFormControls) {
  const struct {
    QWidget* control;
    const char* name;
  } accessors[] = {
      {&window_.pictureBox1(), "图片框1"},  {&window_.pictureBox2(), "图片框2"},
      {&window_.pictureBox3(), "图片框3"},  {&window_.categoryCombo(), "组合框1"},
      {&window_.productCombo(), "组合框2"}, {&window_.languageCombo(), "组合框3"},
      {&window_.fileList(), "超级列表框1"}, {&window_.linkEdit(), "编辑框1"},
  };
  for (const auto& c : accessors) EXPECT_EQ(c.control->objectName(), U(c.name));
}

TEST_F(MainWindowTest, CatalogueControlsStartEmpty) {
  for (QComboBox* combo :
       {&window_.categoryCombo(), &window_.productCombo(), &window_.languageCombo()}) {
    EXPECT_EQ(combo->count(), 0);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(GetCurrentSelection(*combo), -1);
  }
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 0);
  EXPECT_TRUE(window_.linkEdit().text().isEmpty());
  EXPECT_TRUE(window_.linkEdit().isReadOnly());
  EXPECT_TRUE(window_.pictureBox1().pixmap().isNull());
}

TEST_F(MainWindowTest, FileListColumns) {
  const struct {
    const char* title;
    int width;
  } columns[] = {{"ID", 30},       {"文件名", 200},  {"SHA1", 200},
                 {"文件大小", 60}, {"发布时间", 80}, {"下载链接", 300}};
  QTreeWidget& list = window_.fileList();
  ASSERT_EQ(list.columnCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(list.headerItem()->text(i), U(columns[i].title));
    EXPECT_EQ(list.columnWidth(i), columns[i].width) << columns[i].title;
  }
  EXPECT_FALSE(list.rootIsDecorated());
  EXPECT_FALSE(list.isSortingEnabled());
  EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
}

// The double-click is reported wherever it lands in the list: on a row or on empty space.
TEST_F(MainWindowTest, DoubleClickAnywhereInTheFileList) {
  window_.tabs().setCurrentIndex(1);
  QTreeWidget& list = window_.fileList();
  ListSetCellText(list, ListInsertRow(list), 1, "file.iso");
  std::vector<std::int32_t> reported;
  QObject::connect(&window_, &MainWindow::fileListDoubleClicked,
                   [&reported](std::int32_t row) { reported.push_back(row); });

  const QRect firstRow = list.visualItemRect(list.topLevelItem(0));
  for (const QPoint at : {firstRow.center(), QPoint(400, 250)}) {
    const QPointF local(at);
    const QPointF global(list.viewport()->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &press);
    QApplication::sendEvent(list.viewport(), &doubleClick);
  }
  ASSERT_EQ(reported.size(), 2u);
  // The press on the row selected it; the report carries it.
  EXPECT_EQ(reported[0], 0);
}

TEST(Pictures, DecodeToTheirSizesAndFitTheirBoxes) {
  const struct {
    const Bytes& png;
    QSize size;
  } pictures[] = {{Picture1(), {305, 305}}, {Picture2(), {331, 333}}, {Picture3(), {292, 276}}};
  for (const auto& c : pictures) {
    const QImage image = DecodePng(c.png);
    EXPECT_EQ(image.size(), c.size);
  }

  MainWindow window;
  ShowPictures(window);
  for (QLabel* box : {&window.pictureBox1(), &window.pictureBox2(), &window.pictureBox3()}) {
    const QSize shown = box->pixmap().size();
    EXPECT_TRUE(shown.width() == 230 || shown.height() == 230) << shown.width();
    EXPECT_LE(shown.width(), 230);
    EXPECT_LE(shown.height(), 230);
  }
  // 331 x 333 keeps its shape: 230 high, 228 wide.
  EXPECT_EQ(window.pictureBox2().pixmap().size(), QSize(228, 230));
  EXPECT_EQ(window.pictureBox3().pixmap().size(), QSize(230, 217));
}

}  // namespace
}  // namespace zendra
