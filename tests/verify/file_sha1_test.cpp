#include "app/verify/file_sha1.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/verify/file_hasher.h"
#include "app/verify/sha1_text.h"

namespace zendra::verify {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "zendra-verify-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string Write(const std::string& name, const std::string& content) const {
    const auto file = (path_ / name).string();
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }
  fs::path Path() const { return path_; }

 private:
  fs::path path_;
};

TEST(HashFileSha1, DigestsOfKnownContentAtEveryBlockBoundary) {
  const struct {
    std::string content;
    const char* sha1;
  } cases[] = {
      {"", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {"abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
      {std::string(1'000'000, 'a'), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
  };
  TemporaryFolder folder;
  for (const auto& c : cases) {
    const auto file = folder.Write("content", c.content);
    // A block of one byte, a block that does not divide the size, and the default.
    for (const std::size_t blockSize : {std::size_t{1}, std::size_t{7}, kHashBlockSize}) {
      if (blockSize == 1 && c.content.size() > 100'000) continue;
      HashControl control;
      const auto result = HashFileSha1(file, control, blockSize);
      EXPECT_EQ(result.status, HashStatus::Done) << result.reason;
      EXPECT_EQ(result.sha1, c.sha1) << c.content.size() << " bytes by " << blockSize;
      EXPECT_EQ(result.bytes, c.content.size());
      EXPECT_EQ(control.done, c.content.size());
      EXPECT_EQ(control.total, c.content.size());
    }
  }
}

TEST(HashFileSha1, SaysWhyAFileCannotBeRead) {
  TemporaryFolder folder;
  const auto locked = folder.Write("locked", "secret");
  ::chmod(locked.c_str(), 0);
  const struct {
    std::string path;
    bool readableAnyway;  // root reads a file without permissions
  } cases[] = {
      {(folder.Path() / "missing.iso").string(), false},
      {folder.Path().string(), false},
      {"", false},
      {locked, ::geteuid() == 0},
  };
  for (const auto& c : cases) {
    HashControl control;
    const auto result = HashFileSha1(c.path, control);
    if (c.readableAnyway) continue;
    EXPECT_EQ(result.status, HashStatus::Failed) << c.path;
    EXPECT_FALSE(result.reason.empty()) << c.path;
    EXPECT_TRUE(result.sha1.empty());
  }
}

TEST(HashFileSha1, ACancelBeforeTheFirstBlockReadsNothing) {
  TemporaryFolder folder;
  HashControl control;
  control.cancel = true;
  const auto result = HashFileSha1(folder.Write("f", "abc"), control);
  EXPECT_EQ(result.status, HashStatus::Cancelled);
  EXPECT_EQ(result.bytes, 0u);
  EXPECT_TRUE(result.sha1.empty());
}

// A pipe hands the worker exactly the blocks the test writes, so the test knows where the
// worker stands without any clock.
class PipeFeed {
 public:
  explicit PipeFeed(const TemporaryFolder& folder) : path_((folder.Path() / "feed").string()) {
    ::mkfifo(path_.c_str(), 0600);
  }
  ~PipeFeed() {
    if (writer_) std::fclose(writer_);
  }
  const std::string& Path() const { return path_; }
  void Open() { writer_ = std::fopen(path_.c_str(), "wb"); }  // blocks until the reader opens
  void Send(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), writer_);
    std::fflush(writer_);
  }
  void Close() {
    std::fclose(writer_);
    writer_ = nullptr;
  }

 private:
  std::string path_;
  std::FILE* writer_ = nullptr;
};

void AwaitBytes(const FileHasher& hasher, std::uint64_t count) {
  while (hasher.BytesDone() < count) std::this_thread::yield();
}

TEST(FileHasher, ReportsProgressAndFinishesOnItsOwnThread) {
  TemporaryFolder folder;
  PipeFeed feed(folder);
  int finishedCalls = 0;
  std::thread::id finishedOn;
  HashResult reported;
  {
    FileHasher hasher(feed.Path(), [&](const HashResult& result) {
      ++finishedCalls;
      finishedOn = std::this_thread::get_id();
      reported = result;
    });
    feed.Open();
    feed.Send("ab");
    AwaitBytes(hasher, 2);
    EXPECT_FALSE(hasher.WaitFor(std::chrono::milliseconds(0)).has_value());
    feed.Send("c");
    feed.Close();
    const auto result = hasher.Wait();
    EXPECT_EQ(result.status, HashStatus::Done);
    EXPECT_EQ(result.sha1, "A9993E364706816ABA3E25717850C26C9CD0D89D");
    EXPECT_EQ(hasher.BytesDone(), 3u);
  }
  EXPECT_EQ(finishedCalls, 1);
  EXPECT_NE(finishedOn, std::this_thread::get_id());
  EXPECT_EQ(reported.sha1, "A9993E364706816ABA3E25717850C26C9CD0D89D");
}

TEST(FileHasher, StopsAtTheNextBlockAfterACancel) {
  TemporaryFolder folder;
  PipeFeed feed(folder);
  FileHasher hasher(feed.Path());
  feed.Open();
  feed.Send("first");
  AwaitBytes(hasher, 5);
  hasher.Cancel();
  // The worker may be waiting in a read: this block wakes it, and it goes no further.
  feed.Send("second");
  const auto result = hasher.Wait();
  EXPECT_EQ(result.status, HashStatus::Cancelled);
  EXPECT_LE(result.bytes, 11u);
  EXPECT_TRUE(result.sha1.empty());
}

TEST(ParseSha1, AcceptsExactlyFortyHexDigits) {
  const struct {
    const char* text;
    const char* expected;  // nullptr: not a digest
  } cases[] = {
      {"a9993e364706816aba3e25717850c26c9cd0d89d", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"A9993E364706816ABA3E25717850C26C9CD0D89D", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"A9993E364706816ABA3E25717850C26C9CD0D89", nullptr},
      {"A9993E364706816ABA3E25717850C26C9CD0D89D0", nullptr},
      {" A9993E364706816ABA3E25717850C26C9CD0D89", nullptr},
      {"G9993E364706816ABA3E25717850C26C9CD0D89D", nullptr},
      {"", nullptr},
      {"没有数据！", nullptr},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseSha1(c.text);
    if (c.expected) {
      EXPECT_EQ(parsed, std::optional<std::string>(c.expected)) << c.text;
    } else {
      EXPECT_FALSE(parsed.has_value()) << c.text;
    }
  }
}

}  // namespace
}  // namespace zendra::verify
