#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/verify/file_hasher.h"
#include "app/verify/verdict.h"

namespace zendra {

// Checks one local file against one catalogue digest: the file is hashed on a worker
// thread while this dialog shows the share done, the speed and a Cancel button. The
// dialog is not modal, so the window behind it repaints and takes input meanwhile. It
// deletes itself when closed; `onChecked` runs on the window's thread when the file was
// read to its end or could not be read, never after a cancel.
class FileCheckDialog : public QProgressDialog {
  Q_OBJECT

 public:
  using Checked = std::function<void(const verify::Verdict&)>;

  FileCheckDialog(const QString& path, std::string expectedSha1, Checked onChecked,
                  QWidget* parent);
  ~FileCheckDialog() override;

  const QString& Path() const { return path_; }

 private:
  void ShowProgress();
  void Finish(const verify::HashResult& result);
  void Stop();

  QString path_;
  std::string expectedSha1_;
  Checked onChecked_;
  QTimer ticker_;
  QElapsedTimer clock_;
  std::unique_ptr<verify::FileHasher> hasher_;
};

// "12.3 MiB" and the like, in binary units, with a point whatever the locale.
QString ByteCount(double bytes);

}  // namespace zendra
