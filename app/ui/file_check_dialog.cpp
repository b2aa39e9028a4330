#include "app/ui/file_check_dialog.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <array>

namespace zendra {
namespace {

// Fine enough for a moving bar, coarse enough for an int whatever the file's size.
constexpr int kSteps = 1000;
constexpr int kTickMilliseconds = 100;

}  // namespace

QString ByteCount(double bytes) {
  static constexpr std::array<const char*, 5> kUnits{"B", "KiB", "MiB", "GiB", "TiB"};
  std::size_t unit = 0;
  while (bytes >= 1024 && unit + 1 < kUnits.size()) {
    bytes /= 1024;
    ++unit;
  }
  return QString::number(bytes, 'f', unit == 0 ? 0 : 1) + QStringLiteral(" ") +
         QString::fromLatin1(kUnits[unit]);
}

FileCheckDialog::FileCheckDialog(const QString& path, std::string expectedSha1, Checked onChecked,
                                 QWidget* parent)
    : QProgressDialog(parent),
      path_(path),
      expectedSha1_(std::move(expectedSha1)),
      onChecked_(std::move(onChecked)) {
  setObjectName(QStringLiteral("fileCheckDialog"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::NonModal);
  setWindowTitle(QString::fromUtf8("校验本地文件"));
  setCancelButtonText(QString::fromUtf8("取消"));
  setAutoClose(false);
  setAutoReset(false);
  setMinimumDuration(0);
  setRange(0, kSteps);
  setValue(0);
  setMinimumWidth(420);
  connect(this, &QProgressDialog::canceled, this, &FileCheckDialog::Stop);
  connect(&ticker_, &QTimer::timeout, this, &FileCheckDialog::ShowProgress);
  ticker_.start(kTickMilliseconds);
  clock_.start();
  hasher_ = std::make_unique<verify::FileHasher>(
      QFile::encodeName(path_).toStdString(), [this](const verify::HashResult& result) {
        // From the worker: the window's thread takes over. The hasher is destroyed (and
        // its worker joined) before this dialog, so `this` is alive here.
        QMetaObject::invokeMethod(
            this, [this, result] { Finish(result); }, Qt::QueuedConnection);
      });
  ShowProgress();
}

FileCheckDialog::~FileCheckDialog() {
  // Cancels and joins first: the worker must not post to a half-destroyed dialog.
  hasher_.reset();
}

void FileCheckDialog::ShowProgress() {
  if (!hasher_) return;
  const double done = static_cast<double>(hasher_->BytesDone());
  const double total = static_cast<double>(hasher_->TotalBytes());
  const double seconds = static_cast<double>(clock_.elapsed()) / 1000.0;
  if (total > 0) setValue(static_cast<int>(done / total * kSteps));
  QString text = QString::fromUtf8("正在计算 %1 的 SHA1…\n").arg(QFileInfo(path_).fileName());
  // The bar shows the share in percent.
  text += total > 0 ? QString::fromUtf8("%1 / %2").arg(ByteCount(done), ByteCount(total))
                    : ByteCount(done);
  if (seconds > 0) text += QString::fromUtf8("，每秒 %1").arg(ByteCount(done / seconds));
  setLabelText(text);
}

void FileCheckDialog::Finish(const verify::HashResult& result) {
  ticker_.stop();
  const verify::Verdict verdict = verify::Judge(result, expectedSha1_);
  // The message comes after this dialog has gone, so that only one of them is on screen.
  const Checked onChecked = onChecked_;
  onChecked_ = nullptr;
  // Not close(): that reads as a cancel.
  hide();
  deleteLater();
  if (onChecked && verdict.kind != verify::VerdictKind::Cancelled) onChecked(verdict);
}

void FileCheckDialog::Stop() {
  ticker_.stop();
  onChecked_ = nullptr;
  if (hasher_) hasher_->Cancel();
  close();
}

}  // namespace zendra
