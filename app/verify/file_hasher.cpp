#include "app/verify/file_hasher.h"

#include <utility>

namespace zendra::verify {

FileHasher::FileHasher(std::string path, Finished onFinished, std::size_t blockSize) {
  worker_ =
      std::thread([this, path = std::move(path), onFinished = std::move(onFinished), blockSize] {
        HashResult result = HashFileSha1(path, control_, blockSize);
        if (onFinished) onFinished(result);
        {
          std::lock_guard lock(mutex_);
          result_ = std::move(result);
        }
        finished_.notify_all();
      });
}

FileHasher::~FileHasher() {
  Cancel();
  if (worker_.joinable()) worker_.join();
}

void FileHasher::Cancel() noexcept { control_.cancel = true; }

std::uint64_t FileHasher::BytesDone() const noexcept { return control_.done; }

std::uint64_t FileHasher::TotalBytes() const noexcept { return control_.total; }

HashResult FileHasher::Wait() {
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [this] { return result_.has_value(); });
  return *result_;
}

std::optional<HashResult> FileHasher::WaitFor(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  if (!finished_.wait_for(lock, limit, [this] { return result_.has_value(); })) return {};
  return result_;
}

}  // namespace zendra::verify
