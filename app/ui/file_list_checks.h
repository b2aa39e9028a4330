#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QLineEdit;
class QMimeData;
class QMenu;
class QTreeWidget;

namespace zendra {

class FileCheckDialog;

// What the file list offers besides its double-click: a context menu on a row (copy the
// link, copy the SHA1, check a local file against the row) and checking a local file
// dropped on the list. A row whose SHA1 cell is not 40 hexadecimal digits offers no
// check. One check runs at a time; asking for another raises the running one.
class FileListChecks : public QObject {
  Q_OBJECT

 public:
  // Asks the user for the file to check; an empty text when none was chosen.
  using FileChooser = std::function<QString(QWidget* parent)>;

  FileListChecks(QTreeWidget& list, QLineEdit& linkEdit);
  ~FileListChecks() override;

  // The context menu of `row` (-1: none), as a right-click shows it.
  std::unique_ptr<QMenu> MenuFor(int row);
  // The row a dropped file is checked against: the one with its file name, else the
  // selected one; -1 when that row offers no check.
  int DropTarget(const QString& fileName) const;
  // Starts checking `path` against `row`; false when the row offers no check.
  bool CheckFile(int row, const QString& path);
  FileCheckDialog* RunningCheck() const;

  void SetFileChooser(FileChooser chooser);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CopyLink(int row);
  void CopySha1(int row);
  void ChooseAndCheck(int row);
  bool OffersCheck(int row) const;
  QString LocalFileOf(const QMimeData* data) const;

  QTreeWidget& list_;
  QLineEdit& linkEdit_;
  QObject* viewport_ = nullptr;
  FileChooser chooser_;
  QPointer<FileCheckDialog> running_;
};

}  // namespace zendra
