#include "app/ui/main_window.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <array>
#include <string_view>

#include "platform/codepage/code_page.h"
#include "platform/window/controls.h"
#include "platform/window/paint_events.h"
#include "platform/window/qt_text.h"

namespace zendra {
namespace {

// Controls are laid out by the tab control's own coordinates; this property carries
// that rectangle so the controls can be re-placed whenever the pages move.
constexpr char kTabRect[] = "zendraTabRect";

QString Literal(std::string_view utf8) { return ToDisplayString(Cp936FromUtf8(utf8)); }

template <class Control>
Control* Place(QWidget* page, const char* objectName, QRect tabRect) {
  auto* control = new Control(page);
  control->setObjectName(Literal(objectName));
  control->setProperty(kTabRect, tabRect);
  control->setGeometry(tabRect);
  return control;
}

QLabel* PlaceLabel(QWidget* page, const char* objectName, QRect tabRect, std::string_view text) {
  auto* label = Place<QLabel>(page, objectName, tabRect);
  label->setText(Literal(text));
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLabel* PlacePictureBox(QWidget* page, const char* objectName, QRect tabRect) {
  auto* box = Place<QLabel>(page, objectName, tabRect);
  box->setAlignment(Qt::AlignCenter);
  return box;
}

QComboBox* PlaceCombo(QWidget* page, const char* objectName, QRect tabRect) {
  auto* combo = Place<QComboBox>(page, objectName, tabRect);
  combo->setEditable(false);
  // The boxes keep items in the order they were added.
  combo->setInsertPolicy(QComboBox::InsertAtBottom);
  return combo;
}

struct Column {
  const char* title;
  int width;
};

constexpr std::array<Column, 6> kFileColumns{{{"ID", 30},
                                              {"文件名", 200},
                                              {"SHA1", 200},
                                              {"文件大小", 60},
                                              {"发布时间", 80},
                                              {"下载链接", 300}}};

QTreeWidget* PlaceFileList(QWidget* page, QRect tabRect) {
  auto* list = Place<QTreeWidget>(page, "超级列表框1", tabRect);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setSortingEnabled(false);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setAllColumnsShowFocus(true);
  list->setColumnCount(static_cast<int>(kFileColumns.size()));
  QStringList titles;
  for (const Column& column : kFileColumns) titles << Literal(column.title);
  list->setHeaderLabels(titles);
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  for (int i = 0; i < static_cast<int>(kFileColumns.size()); ++i) {
    list->setColumnWidth(i, kFileColumns[static_cast<std::size_t>(i)].width);
  }
  return list;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  setObjectName(Literal("窗口"));
  setWindowTitle(Literal("Zendra 非官方软件 V1.0.0.191127 "));

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(Literal("高级选择夹1"));
  tabs_->setGeometry(1, 1, 888, 396);
  auto* notice = new QWidget();
  auto* catalogue = new QWidget();
  tabs_->addTab(notice, Literal("软件说明"));
  tabs_->addTab(catalogue, Literal("Zendra 系统"));

  auto* noticeText = PlaceLabel(notice, "标签5", {8, 34, 392, 77},
                                "1、此软件仅供交流学习使用，请勿它用，如有侵权，请联系作者删除。"
                                "\r\n\r\n2、此软件栖木论坛首发。\r\n\r\n");
  noticeText->setWordWrap(true);
  noticeText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pictureBox3_ = PlacePictureBox(notice, "图片框3", {60, 117, 230, 230});
  pictureBox1_ = PlacePictureBox(notice, "图片框1", {324, 117, 230, 230});
  pictureBox2_ = PlacePictureBox(notice, "图片框2", {588, 117, 230, 230});
  const std::array<std::pair<QLabel*, QLabel*>, 3> captions{{
      {PlaceLabel(notice, "标签6", {64, 351, 224, 32}, "QQ赞助付款码"), pictureBox3_},
      {PlaceLabel(notice, "标签7", {328, 351, 224, 32}, "微信赞助付款码"), pictureBox1_},
      {PlaceLabel(notice, "标签8", {593, 351, 224, 32}, "支付宝赞助付款码"), pictureBox2_},
  }};
  for (const auto& [caption, picture] : captions) {
    caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    caption->setBuddy(picture);
    picture->setAccessibleName(caption->text());
  }

  auto* categoryLabel = PlaceLabel(catalogue, "标签1", {6, 29, 64, 17}, "软件类目：");
  categoryCombo_ = PlaceCombo(catalogue, "组合框1", {73, 29, 110, 20});
  auto* productLabel = PlaceLabel(catalogue, "标签2", {186, 29, 64, 17}, "软件名称：");
  productCombo_ = PlaceCombo(catalogue, "组合框2", {253, 29, 267, 20});
  auto* languageLabel = PlaceLabel(catalogue, "标签3", {528, 29, 64, 17}, "语言版本：");
  languageCombo_ = PlaceCombo(catalogue, "组合框3", {595, 29, 93, 20});
  auto* listLabel =
      PlaceLabel(catalogue, "标签4", {695, 31, 183, 16}, "选中双击可复制下载链接到剪切板");
  fileList_ = PlaceFileList(catalogue, {4, 55, 879, 312});
  linkEdit_ = Place<QLineEdit>(catalogue, "编辑框1", {3, 369, 882, 24});
  linkEdit_->setReadOnly(true);
  linkEdit_->setAccessibleName(Literal("下载链接"));

  emptyListNote_ = new QLabel(fileList_->viewport());
  emptyListNote_->setObjectName("emptyListNote");
  emptyListNote_->setTextFormat(Qt::PlainText);
  emptyListNote_->setForegroundRole(QPalette::PlaceholderText);
  emptyListNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
  emptyListNote_->setGeometry(6, 4, 860, 20);
  emptyListNote_->hide();
  const auto hideNoteOnRows = [this] { emptyListNote_->setVisible(false); };
  connect(fileList_->model(), &QAbstractItemModel::rowsInserted, this, hideNoteOnRows);

  categoryLabel->setBuddy(categoryCombo_);
  productLabel->setBuddy(productCombo_);
  languageLabel->setBuddy(languageCombo_);
  listLabel->setBuddy(fileList_);

  // The pages only learn their place inside the tab control when it lays itself out, and
  // again whenever the tab bar changes height (a font change): re-place the controls then.
  for (QWidget* page : {notice, catalogue}) {
    page->installEventFilter(this);
    if (QWidget* stack = page->parentWidget()) stack->installEventFilter(this);
  }
  fileList_->viewport()->installEventFilter(this);

  // Room for the tab control; the frame is added by the window manager.
  resize(890, 400);
  move(50, 50);
}

MainWindow::~MainWindow() = default;

QTabWidget& MainWindow::tabs() { return *tabs_; }
QLabel& MainWindow::pictureBox1() { return *pictureBox1_; }
QLabel& MainWindow::pictureBox2() { return *pictureBox2_; }
QLabel& MainWindow::pictureBox3() { return *pictureBox3_; }
QComboBox& MainWindow::categoryCombo() { return *categoryCombo_; }
QComboBox& MainWindow::productCombo() { return *productCombo_; }
QComboBox& MainWindow::languageCombo() { return *languageCombo_; }
QTreeWidget& MainWindow::fileList() { return *fileList_; }
QLineEdit& MainWindow::linkEdit() { return *linkEdit_; }

void MainWindow::ShowEmptyListNote(const QString& text) {
  emptyListNote_->setText(text);
  emptyListNote_->setVisible(!text.isEmpty() && fileList_->topLevelItemCount() == 0);
}

QString MainWindow::EmptyListNote() const {
  return emptyListNote_->isVisibleTo(fileList_) ? emptyListNote_->text() : QString();
}

QComboBox& MainWindow::Combo(CatalogueList list) {
  switch (list) {
    case CatalogueList::Categories:
      return *categoryCombo_;
    case CatalogueList::Products:
      return *productCombo_;
    case CatalogueList::Languages:
      break;
  }
  return *languageCombo_;
}

void MainWindow::FillList(CatalogueList list, const TextArray& items) {
  QComboBox& combo = Combo(list);
  for (std::int32_t i = ComboItemCount(combo); i > 0; --i) ComboDeleteItem(combo, 0);
  for (const Text& item : items) ComboAddItem(combo, item);
}

void MainWindow::SelectItem(CatalogueList list, std::int32_t index) {
  SetCurrentSelection(Combo(list), index);
}

void MainWindow::EmptyFileList() { ListDeleteAll(*fileList_); }

std::int32_t MainWindow::AddRow() { return ListInsertRow(*fileList_); }

void MainWindow::SetCell(std::int32_t row, std::int32_t column, const Text& text) {
  ListSetCellText(*fileList_, row, column, text);
}

void MainWindow::SetLink(const Text& link) { SetText(*linkEdit_, link); }

bool MainWindow::CopyToClipboard(const Text& text) { return SetClipboardText(text); }

void MainWindow::ShowMessage(const Text& text, const Text& title) { ShowMessageBox(text, title); }

void MainWindow::Repaint() {
  // During a query the change is painted while the next answer is awaited, at most once a
  // frame, or when the query ends; otherwise now.
  if (busy_) {
    ScheduleRepaint();
  } else {
    ProcessPaintEvents();
  }
}

void MainWindow::SetBusy(bool busy) {
  if (busy)
    busy_.emplace();
  else
    busy_.reset();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonDblClick:
      // Reported for empty space too, where the tree view itself stays silent.
      if (watched == fileList_->viewport())
        emit fileListDoubleClicked(GetCurrentSelection(*fileList_));
      break;
    case QEvent::Move:
    case QEvent::Resize:
      PlaceControls();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::PlaceControls() {
  for (int i = 0; i < tabs_->count(); ++i) {
    QWidget* page = tabs_->widget(i);
    const QPoint offset = page->mapTo(tabs_, QPoint(0, 0));
    for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const QVariant tabRect = control->property(kTabRect);
      if (tabRect.isValid()) control->setGeometry(tabRect.toRect().translated(-offset));
    }
  }
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitFrame();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // A window manager reports its frame after the window is shown; it moves the window then.
  if (!frameFitted_ && isVisible()) FitFrame();
}

void MainWindow::FitFrame() {
  // The outer size is what the window promises; the frame's share is known only once a
  // window manager has framed it. Never shrink below what the tab control needs.
  const QSize frame = frameGeometry().size() - size();
  frameFitted_ = !frame.isNull();
  const QSize client = QSize(896, 429) - frame;
  const QRect tabs = tabs_->geometry();
  const QSize needed(tabs.right() + 2, tabs.bottom() + 2);
  resize(client.expandedTo(needed));
}

}  // namespace zendra
