#include "platform/window/controls.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QTreeWidget>
#include <algorithm>

#include "platform/png/decode_png.h"
#include "platform/window/message_box_seam.h"
#include "platform/window/qt_text.h"

namespace zendra {
namespace {

QTreeWidgetItem* CellItem(const QTreeWidget& list, std::int32_t row, std::int32_t column) {
  if (row < 0 || column < 0 || column >= list.columnCount()) return nullptr;
  return list.topLevelItem(row);
}

}  // namespace

bool SetPicture(QLabel& pictureBox, const Bytes& png) {
  const QImage image = DecodePng(png);
  if (image.isNull()) {
    pictureBox.clear();
    return false;
  }
  const QSize box = pictureBox.contentsRect().size();
  const QImage fitted =
      box.isEmpty() ? image : image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  pictureBox.setPixmap(QPixmap::fromImage(fitted));
  return true;
}

void SetText(QLineEdit& edit, const Text& text) { edit.setText(ToQString(text)); }

void SetText(QLabel& label, const Text& text) { label.setText(ToDisplayString(text)); }

std::int32_t GetCurrentSelection(const QComboBox& combo) { return combo.currentIndex(); }

std::int32_t GetCurrentSelection(const QTreeWidget& list) {
  const QItemSelectionModel* selection = list.selectionModel();
  if (selection == nullptr) return -1;
  int first = -1;
  for (const QModelIndex& index : selection->selectedIndexes()) {
    if (index.parent().isValid()) continue;
    if (first < 0 || index.row() < first) first = index.row();
  }
  return first;
}

void SetCurrentSelection(QComboBox& combo, std::int32_t index) {
  // setCurrentIndex never emits activated(), which only reports the user's own picks.
  const int count = combo.count();
  if (count == 0 || index < 0) {
    combo.setCurrentIndex(-1);
    return;
  }
  combo.setCurrentIndex(std::min(index, count - 1));
}

std::int32_t ComboItemCount(const QComboBox& combo) { return combo.count(); }

void ComboAddItem(QComboBox& combo, const Text& text) {
  // Adding never selects: the toolkit would pick the first item of an empty box by itself.
  const bool noneSelected = combo.currentIndex() < 0;
  combo.insertItem(combo.count(), ToQString(text));
  if (noneSelected) combo.setCurrentIndex(-1);
}

void ComboDeleteItem(QComboBox& combo, std::int32_t index) {
  if (index < 0 || index >= combo.count()) return;
  combo.removeItem(index);
}

void ListDeleteAll(QTreeWidget& list) { list.clear(); }

std::int32_t ListInsertRow(QTreeWidget& list) {
  list.addTopLevelItem(new QTreeWidgetItem());
  return list.topLevelItemCount() - 1;
}

void ListSetCellText(QTreeWidget& list, std::int32_t row, std::int32_t column, const Text& text) {
  if (QTreeWidgetItem* item = CellItem(list, row, column)) item->setText(column, ToQString(text));
}

Text ListGetCellText(const QTreeWidget& list, std::int32_t row, std::int32_t column) {
  const QTreeWidgetItem* item = CellItem(list, row, column);
  return item == nullptr ? Text() : FromQString(item->text(column));
}

bool SetClipboardText(const Text& text) {
  if (qGuiApp == nullptr) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  const QString wanted = ToQString(text);
  clipboard->setText(wanted, QClipboard::Clipboard);
  // Reading back is the only way to know that the clipboard really took the text.
  return clipboard->text(QClipboard::Clipboard) == wanted;
}

void ShowMessageBox(const Text& text, const Text& title) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  QMessageBox box(QMessageBox::NoIcon, ToDisplayString(title), ToDisplayString(text),
                  QMessageBox::Ok, nullptr);
  box.setTextFormat(Qt::PlainText);
  if (const MessageBoxInterceptor& intercept = CurrentMessageBoxInterceptor()) {
    intercept(box);
    return;
  }
  box.exec();
}

}  // namespace zendra
