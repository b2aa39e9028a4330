#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "app/catalogue/catalogue_view.h"
#include "platform/window/wait_cursor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;

namespace zendra {

// The one main window, 窗口: a tab control with the notice and the three pictures on the
// first page and the catalogue controls on the second. It lays the controls out and
// shows the catalogue the browser hands it.
class MainWindow : public QWidget, public CatalogueView {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  QTabWidget& tabs();          // 高级选择夹1
  QLabel& pictureBox1();       // 图片框1
  QLabel& pictureBox2();       // 图片框2
  QLabel& pictureBox3();       // 图片框3
  QComboBox& categoryCombo();  // 组合框1
  QComboBox& productCombo();   // 组合框2
  QComboBox& languageCombo();  // 组合框3
  QTreeWidget& fileList();     // 超级列表框1
  QLineEdit& linkEdit();       // 编辑框1, read-only

  // One grey line in the file list while it has no rows; an empty text removes it.
  void ShowEmptyListNote(const QString& text);
  QString EmptyListNote() const;

  // The catalogue's view: the three combo boxes, the file list and the link edit.
  void FillList(CatalogueList list, const TextArray& items) override;
  void SelectItem(CatalogueList list, std::int32_t index) override;
  void EmptyFileList() override;
  std::int32_t AddRow() override;
  void SetCell(std::int32_t row, std::int32_t column, const Text& text) override;
  void SetLink(const Text& link) override;
  bool CopyToClipboard(const Text& text) override;
  void ShowMessage(const Text& text, const Text& title) override;
  void Repaint() override;
  void SetBusy(bool busy) override;

 signals:
  // A double-click anywhere in the file list's viewport, on a row or on empty space,
  // with the selected row (-1 for none).
  void fileListDoubleClicked(std::int32_t row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void PlaceControls();
  void FitFrame();
  QComboBox& Combo(CatalogueList list);

  // Set once the window manager's frame was known and the outer size fitted to it.
  bool frameFitted_ = false;
  QTabWidget* tabs_;
  QLabel* pictureBox1_;
  QLabel* pictureBox2_;
  QLabel* pictureBox3_;
  QComboBox* categoryCombo_;
  QComboBox* productCombo_;
  QComboBox* languageCombo_;
  QTreeWidget* fileList_;
  QLineEdit* linkEdit_;
  QLabel* emptyListNote_;
  std::optional<WaitCursor> busy_;
};

}  // namespace zendra
