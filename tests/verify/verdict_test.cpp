#include "app/verify/verdict.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace zendra::verify {
namespace {

constexpr char kAbc[] = "A9993E364706816ABA3E25717850C26C9CD0D89D";

TEST(Verdict, JudgesWhatTheHashFound) {
  const struct {
    HashResult result;
    const char* expected;
    VerdictKind kind;
  } cases[] = {
      {{HashStatus::Done, kAbc, 3, {}}, kAbc, VerdictKind::Match},
      {{HashStatus::Done, kAbc, 3, {}},
       "a9993e364706816aba3e25717850c26c9cd0d89d",
       VerdictKind::Match},
      {{HashStatus::Done, kAbc, 3, {}},
       "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709",
       VerdictKind::Mismatch},
      {{HashStatus::Failed, {}, 0, "No such file or directory"}, kAbc, VerdictKind::Unreadable},
      {{HashStatus::Cancelled, {}, 0, {}}, kAbc, VerdictKind::Cancelled},
      {{HashStatus::Done, kAbc, 3, {}}, "not a digest", VerdictKind::Unreadable},
  };
  for (const auto& c : cases) {
    const auto verdict = Judge(c.result, c.expected);
    EXPECT_EQ(verdict.kind, c.kind) << c.expected;
    if (c.kind == VerdictKind::Mismatch) {
      EXPECT_EQ(verdict.expected, c.expected);
      EXPECT_EQ(verdict.actual, kAbc);
    }
    if (c.kind == VerdictKind::Unreadable) {
      EXPECT_FALSE(verdict.reason.empty());
    }
  }
}

TEST(Verdict, VerifyFileReadsTheFileOnlyForAValidDigest) {
  const auto folder = std::filesystem::temp_directory_path();
  const auto file = (folder / ("zendra-verdict-" + std::to_string(::getpid()))).string();
  std::ofstream(file, std::ios::binary) << "abc";

  EXPECT_EQ(VerifyFile(file, kAbc).kind, VerdictKind::Match);
  const auto wrong = VerifyFile(file, "0000000000000000000000000000000000000000");
  EXPECT_EQ(wrong.kind, VerdictKind::Mismatch);
  EXPECT_EQ(wrong.expected, "0000000000000000000000000000000000000000");
  EXPECT_EQ(wrong.actual, kAbc);
  EXPECT_EQ(VerifyFile(file + ".missing", kAbc).kind, VerdictKind::Unreadable);
  EXPECT_EQ(VerifyFile(file + ".missing", "abc").reason, "not a SHA1 digest");
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace zendra::verify
