#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/verify/file_sha1.h"

namespace zendra::verify {

// Hashes one file on a worker thread of its own. The owner polls Progress() and may
// Cancel(); `onFinished` runs once on the worker thread with the result (a window hands it
// over to its own thread). Destruction cancels and waits for the worker, which stops after
// at most one block.
class FileHasher {
 public:
  using Finished = std::function<void(const HashResult&)>;

  explicit FileHasher(std::string path, Finished onFinished = {},
                      std::size_t blockSize = kHashBlockSize);
  ~FileHasher();
  FileHasher(const FileHasher&) = delete;
  FileHasher& operator=(const FileHasher&) = delete;

  void Cancel() noexcept;
  std::uint64_t BytesDone() const noexcept;
  std::uint64_t TotalBytes() const noexcept;

  // The result once the worker is done: Wait blocks until then, WaitFor at most `limit`.
  HashResult Wait();
  std::optional<HashResult> WaitFor(std::chrono::milliseconds limit);

 private:
  HashControl control_;
  mutable std::mutex mutex_;
  std::condition_variable finished_;
  std::optional<HashResult> result_;
  std::thread worker_;
};

}  // namespace zendra::verify
