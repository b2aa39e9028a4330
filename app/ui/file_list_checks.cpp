#include "app/ui/file_list_checks.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include "app/ui/file_check_dialog.h"
#include "app/ui/verdict_message.h"
#include "app/verify/sha1_text.h"
#include "platform/window/controls.h"
#include "platform/window/qt_text.h"

namespace zendra {
namespace {

constexpr int kFileNameColumn = 1;
constexpr int kSha1Column = 2;
constexpr int kLinkColumn = 5;

QString ChooseFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, QString::fromUtf8("选择要校验的文件"));
}

}  // namespace

FileListChecks::FileListChecks(QTreeWidget& list, QLineEdit& linkEdit)
    : QObject(&list), list_(list), linkEdit_(linkEdit), chooser_(ChooseFile) {
  list_.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const QModelIndex index = list_.indexAt(at);
    if (!index.isValid()) return;
    const auto menu = MenuFor(index.row());
    menu->exec(list_.viewport()->mapToGlobal(at));
  });
  viewport_ = list_.viewport();
  list_.viewport()->setAcceptDrops(true);
  list_.viewport()->installEventFilter(this);
}

FileListChecks::~FileListChecks() = default;

void FileListChecks::SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

FileCheckDialog* FileListChecks::RunningCheck() const {
  // A finished dialog hides at once and goes when the event loop next gets to it.
  return running_ && running_->isVisible() ? running_.data() : nullptr;
}

bool FileListChecks::OffersCheck(int row) const {
  return row >= 0 &&
         verify::ParseSha1(ToQString(ListGetCellText(list_, row, kSha1Column)).toStdString())
             .has_value();
}

std::unique_ptr<QMenu> FileListChecks::MenuFor(int row) {
  auto menu = std::make_unique<QMenu>(&list_);
  menu->setObjectName(QStringLiteral("fileListMenu"));
  const bool isRow = row >= 0 && row < list_.topLevelItemCount();
  QAction* link =
      menu->addAction(QString::fromUtf8("复制下载链接"), this, [this, row] { CopyLink(row); });
  QAction* sha1 =
      menu->addAction(QString::fromUtf8("复制 SHA1"), this, [this, row] { CopySha1(row); });
  QAction* check = menu->addAction(QString::fromUtf8("校验本地文件…"), this,
                                   [this, row] { ChooseAndCheck(row); });
  link->setEnabled(isRow);
  sha1->setEnabled(isRow && !ListGetCellText(list_, row, kSha1Column).empty());
  check->setEnabled(isRow && OffersCheck(row));
  return menu;
}

void FileListChecks::CopyLink(int row) {
  // The double-click's copy, without its message box.
  const Text link = ListGetCellText(list_, row, kLinkColumn);
  SetText(linkEdit_, link);
  SetClipboardText(link);
}

void FileListChecks::CopySha1(int row) {
  SetClipboardText(ListGetCellText(list_, row, kSha1Column));
}

void FileListChecks::ChooseAndCheck(int row) {
  if (!OffersCheck(row)) return;
  const QString path = chooser_ ? chooser_(list_.window()) : QString();
  if (!path.isEmpty()) CheckFile(row, path);
}

bool FileListChecks::CheckFile(int row, const QString& path) {
  if (RunningCheck()) {
    running_->raise();
    running_->activateWindow();
    return false;
  }
  if (!OffersCheck(row)) return false;
  const std::string expected = ToQString(ListGetCellText(list_, row, kSha1Column)).toStdString();
  const QString shownName = QFileInfo(path).fileName();
  QWidget* window = list_.window();
  running_ = new FileCheckDialog(
      path, expected,
      [window = QPointer<QWidget>(window), shownName](const verify::Verdict& verdict) {
        ShowVerdict(window, shownName, verdict);
      },
      window);
  running_->show();
  return true;
}

int FileListChecks::DropTarget(const QString& fileName) const {
  int target = -1;
  for (int row = 0; row < list_.topLevelItemCount(); ++row) {
    if (ToQString(ListGetCellText(list_, row, kFileNameColumn)) == fileName) {
      target = row;
      break;
    }
  }
  if (target < 0) target = GetCurrentSelection(list_);
  return OffersCheck(target) ? target : -1;
}

QString FileListChecks::LocalFileOf(const QMimeData* data) const {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return QFileInfo(path).isDir() ? QString() : path;
}

bool FileListChecks::eventFilter(QObject* watched, QEvent* event) {
  // Compared with the pointer kept at the start: while the list is destroyed its viewport
  // still sends events, and the list may no longer be asked for anything.
  if (watched != viewport_) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      // Refused here already, so the pointer tells the user before the drop.
      auto* drag = static_cast<QDropEvent*>(event);
      const QString path = LocalFileOf(drag->mimeData());
      if (!path.isEmpty() && DropTarget(QFileInfo(path).fileName()) >= 0) {
        drag->acceptProposedAction();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString path = LocalFileOf(drop->mimeData());
      const int row = path.isEmpty() ? -1 : DropTarget(QFileInfo(path).fileName());
      if (row < 0) {
        drop->ignore();
        return true;
      }
      drop->acceptProposedAction();
      // Shows which row the file is checked against.
      list_.setCurrentItem(list_.topLevelItem(row));
      CheckFile(row, path);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace zendra
