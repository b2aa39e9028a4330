#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/verify/file_sha1.h"

namespace zendra::verify {

enum class VerdictKind { Match, Mismatch, Unreadable, Cancelled };

// What checking one file against one catalogue digest found.
struct Verdict {
  VerdictKind kind = VerdictKind::Unreadable;
  std::string expected;  // the catalogue's digest, upper case
  std::string actual;    // the file's digest when it was read to the end
  std::string reason;    // why there is no answer, when Unreadable
};

// Judges a finished hash against `expectedSha1` (40 hexadecimal digits, any case).
Verdict Judge(const HashResult& result, std::string_view expectedSha1);

// Hashes `path` on a worker thread and judges it; meanwhile `progress` is called on the
// calling thread every `interval` with the bytes done and the file's size.
using ProgressReport = std::function<void(std::uint64_t done, std::uint64_t total)>;
Verdict VerifyFile(const std::string& path, std::string_view expectedSha1,
                   const ProgressReport& progress = {},
                   std::chrono::milliseconds interval = std::chrono::milliseconds(200));

}  // namespace zendra::verify
