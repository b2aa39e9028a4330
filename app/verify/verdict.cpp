#include "app/verify/verdict.h"

#include "app/verify/file_hasher.h"
#include "app/verify/sha1_text.h"

namespace zendra::verify {

Verdict Judge(const HashResult& result, std::string_view expectedSha1) {
  const auto expected = ParseSha1(expectedSha1);
  if (!expected) return {VerdictKind::Unreadable, {}, {}, "not a SHA1 digest"};
  switch (result.status) {
    case HashStatus::Cancelled:
      return {VerdictKind::Cancelled, *expected, {}, {}};
    case HashStatus::Failed:
      return {VerdictKind::Unreadable, *expected, {}, result.reason};
    case HashStatus::Done:
      break;
  }
  return {result.sha1 == *expected ? VerdictKind::Match : VerdictKind::Mismatch,
          *expected,
          result.sha1,
          {}};
}

Verdict VerifyFile(const std::string& path, std::string_view expectedSha1,
                   const ProgressReport& progress, std::chrono::milliseconds interval) {
  // A digest that cannot match is told before the file is read at all.
  if (!ParseSha1(expectedSha1)) return Judge({}, expectedSha1);
  FileHasher hasher(path);
  for (;;) {
    if (auto result = hasher.WaitFor(interval)) return Judge(*result, expectedSha1);
    if (progress) progress(hasher.BytesDone(), hasher.TotalBytes());
  }
}

}  // namespace zendra::verify
