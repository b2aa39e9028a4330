#include "app/ui/file_list_checks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/ui/file_check_dialog.h"
#include "platform/window/message_box_seam.h"

namespace zendra {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr char kAbc[] = "A9993E364706816ABA3E25717850C26C9CD0D89D";

struct Shown {
  QString text;
  QMessageBox::Icon icon;
  bool customIcon;
};

class FileListChecksTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("zendra-checks-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    list_.setColumnCount(6);
    // File name, SHA1 cell, link.
    AddRow("one.iso", kAbc, "https://site/download/one.iso");
    AddRow("two.iso", "a9993e364706816aba3e25717850c26c9cd0d89d", "https://site/download/two.iso");
    AddRow("three.iso", "", "https://site/download/three.iso");
    AddRow("four.iso", "A9993E36", "https://site/download/four.iso");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void AddRow(const char* name, const char* sha1, const char* link) {
    auto* item = new QTreeWidgetItem(&list_);
    item->setText(0, QString::number(list_.topLevelItemCount()));
    item->setText(1, U(name));
    item->setText(2, U(sha1));
    item->setText(5, U(link));
  }

  QString Write(const char* name, const std::string& content) {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return QString::fromStdString(path.string());
  }

  // Runs the event loop until the check's message is shown.
  Shown AwaitMessage() {
    std::optional<Shown> shown;
    ScopedMessageBoxInterceptor intercept([&](QMessageBox& box) {
      shown = Shown{box.text(), box.icon(),
                    !box.iconPixmap().isNull() && box.icon() == QMessageBox::NoIcon};
    });
    while (!shown) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *shown;
  }

  std::filesystem::path folder_;
  QTreeWidget list_;
  QLineEdit linkEdit_;
  FileListChecks checks_{list_, linkEdit_};
};

TEST_F(FileListChecksTest, MenuOffersACheckOnlyForRowsWithADigest) {
  const struct {
    int row;
    bool copySha1;
    bool check;
  } cases[] = {{0, true, true}, {1, true, true}, {2, false, false}, {3, true, false}};
  for (const auto& c : cases) {
    const auto menu = checks_.MenuFor(c.row);
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), U("复制下载链接"));
    EXPECT_EQ(actions[1]->text(), U("复制 SHA1"));
    EXPECT_EQ(actions[2]->text(), U("校验本地文件…"));
    EXPECT_TRUE(actions[0]->isEnabled()) << c.row;
    EXPECT_EQ(actions[1]->isEnabled(), c.copySha1) << c.row;
    EXPECT_EQ(actions[2]->isEnabled(), c.check) << c.row;
  }
}

TEST_F(FileListChecksTest, CopiesTheRowsLinkWithoutAMessageAndItsSha1) {
  int messages = 0;
  ScopedMessageBoxInterceptor count([&](QMessageBox&) { ++messages; });
  list_.setCurrentItem(list_.topLevelItem(0));
  checks_.MenuFor(1)->actions()[0]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), U("https://site/download/two.iso"));
  EXPECT_EQ(linkEdit_.text(), U("https://site/download/two.iso"));
  checks_.MenuFor(0)->actions()[1]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), U(kAbc));
  EXPECT_EQ(linkEdit_.text(), U("https://site/download/two.iso"));
  EXPECT_EQ(messages, 0);
}

TEST_F(FileListChecksTest, TellsAMatchAMismatchAndAnUnreadableFile) {
  const QString good = Write("good.iso", "abc");
  const QString bad = Write("bad.iso", "abd");
  const QString missing = QString::fromStdString((folder_ / "missing.iso").string());

  ASSERT_TRUE(checks_.CheckFile(1, good));
  const Shown match = AwaitMessage();
  EXPECT_TRUE(match.customIcon);  // the green check
  EXPECT_TRUE(match.text.contains(U("一致"))) << match.text.toStdString();
  EXPECT_FALSE(match.text.contains(U("不一致")));

  ASSERT_TRUE(checks_.CheckFile(0, bad));
  const Shown mismatch = AwaitMessage();
  EXPECT_EQ(mismatch.icon, QMessageBox::Warning);
  const auto expectedAt = mismatch.text.indexOf(U(kAbc));
  const auto actualAt = mismatch.text.indexOf(U("CB4CC28DF0FDBE0ECF9D9662E294B118092A5735"));
  ASSERT_GE(expectedAt, 0) << mismatch.text.toStdString();
  ASSERT_GE(actualAt, 0) << mismatch.text.toStdString();
  EXPECT_LT(expectedAt, actualAt);

  ASSERT_TRUE(checks_.CheckFile(0, missing));
  const Shown unreadable = AwaitMessage();
  EXPECT_EQ(unreadable.icon, QMessageBox::Critical);
  EXPECT_TRUE(unreadable.text.contains(U("missing.iso")));

  EXPECT_FALSE(checks_.CheckFile(2, good));
  EXPECT_FALSE(checks_.CheckFile(3, good));
  EXPECT_EQ(checks_.RunningCheck(), nullptr);
}

TEST_F(FileListChecksTest, ADropChecksTheRowOfTheSameNameElseTheSelectedOne) {
  list_.setCurrentItem(list_.topLevelItem(1));
  const struct {
    const char* name;
    int row;
  } cases[] = {
      {"one.iso", 0},    {"two.iso", 1}, {"other.iso", 1},  // no such name: the selected row
      {"three.iso", -1},                                    // its row has no digest
      {"four.iso", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(checks_.DropTarget(U(c.name)), c.row) << c.name;

  list_.clearSelection();
  list_.setCurrentItem(nullptr);
  EXPECT_EQ(checks_.DropTarget(U("other.iso")), -1);

  // A real drop on the list's viewport: the file named like row 0 is checked against it.
  const QString file = Write("one.iso", "abc");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(file)});
  list_.show();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list_.viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list_.viewport(), &drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_NE(checks_.RunningCheck(), nullptr);
  EXPECT_TRUE(AwaitMessage().customIcon);

  // Several files, or a folder, are not checked.
  data.setUrls({QUrl::fromLocalFile(file), QUrl::fromLocalFile(file)});
  QDropEvent two(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list_.viewport(), &two);
  EXPECT_FALSE(two.isAccepted());
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder_.string()))});
  QDragEnterEvent folder(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list_.viewport(), &folder);
  EXPECT_FALSE(folder.isAccepted());
}

TEST_F(FileListChecksTest, CancelClosesTheDialogAndShowsNoMessage) {
  // A pipe that nobody writes to keeps the check running until it is cancelled.
  const auto pipe = folder_ / "endless.iso";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  ASSERT_TRUE(checks_.CheckFile(0, QString::fromStdString(pipe.string())));
  QPointer<FileCheckDialog> dialog = checks_.RunningCheck();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  // A second check while one runs only raises the first.
  EXPECT_FALSE(checks_.CheckFile(1, Write("x.iso", "abc")));

  int messages = 0;
  ScopedMessageBoxInterceptor count([&](QMessageBox&) { ++messages; });
  // The worker waits in open() for a writer: give it one that closes at once, so that
  // the worker's read ends and it sees the cancel.
  auto* cancel = dialog->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), U("取消"));
  cancel->click();
  { std::ofstream writer(pipe); }
  while (dialog) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::processEvents();
  EXPECT_EQ(messages, 0);
  EXPECT_EQ(checks_.RunningCheck(), nullptr);
}

TEST(FileListChecks, GoesWithItsListWithoutTouchingItHalfDestroyed) {
  // As in the window: owned by the list, so the list's destructor runs first and its
  // viewport still sends events to the filter.
  QLineEdit edit;
  auto* list = new QTreeWidget;
  list->show();
  new FileListChecks(*list, edit);
  delete list;
  SUCCEED();
}

TEST(ByteCount, BinaryUnitsWithAPoint) {
  const struct {
    double bytes;
    const char* text;
  } cases[] = {{0, "0 B"}, {1023, "1023 B"}, {1536, "1.5 KiB"}, {1073741824.0, "1.0 GiB"}};
  for (const auto& c : cases) EXPECT_EQ(ByteCount(c.bytes), U(c.text));
}

}  // namespace
}  // namespace zendra
