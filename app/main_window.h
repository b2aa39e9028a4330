#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;

namespace zendra {

// The one main window, 窗口: a tab control with the notice and the three pictures on the
// first page and the catalogue controls on the second. It only lays the controls out;
// the handlers fill them.
class MainWindow : public QWidget {
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

 signals:
  // A double-click anywhere in the file list's viewport, on a row or on empty space.
  void fileListDoubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void PlaceControls();
  void FitFrame();

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
};

}  // namespace zendra
