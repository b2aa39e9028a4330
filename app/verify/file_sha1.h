#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace zendra::verify {

// Shared between the thread that hashes and the one that watches: progress counters and
// a cancel request, polled once per block.
struct HashControl {
  std::atomic<bool> cancel{false};
  std::atomic<std::uint64_t> done{0};
  std::atomic<std::uint64_t> total{0};  // the file's size once it is open
};

enum class HashStatus { Done, Cancelled, Failed };

struct HashResult {
  HashStatus status = HashStatus::Failed;
  std::string sha1;         // 40 upper-case hexadecimal digits when Done
  std::uint64_t bytes = 0;  // bytes hashed
  std::string reason;       // why the file could not be read when Failed
};

// Bytes read per call: large enough that system calls cost nothing next to hashing,
// small enough that a cancel is seen within a few milliseconds even on a cold disk.
inline constexpr std::size_t kHashBlockSize = std::size_t{1} << 20;

// The SHA1 of the file at `path`, read from start to end in blocks of `blockSize`
// bytes. Returns Cancelled as soon as `control.cancel` is seen between two blocks.
HashResult HashFileSha1(const std::string& path, HashControl& control,
                        std::size_t blockSize = kHashBlockSize) noexcept;

}  // namespace zendra::verify
