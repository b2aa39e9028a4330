#include "app/verify/file_sha1.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>
#include <system_error>

namespace zendra::verify {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const noexcept { return fd_; }

 private:
  int fd_;
};

struct DigestContextDeleter {
  void operator()(EVP_MD_CTX* context) const noexcept { EVP_MD_CTX_free(context); }
};
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextDeleter>;

std::string ErrorText(int error) { return std::generic_category().message(error); }

HashResult Failure(std::string reason, std::uint64_t bytes = 0) {
  return {HashStatus::Failed, {}, bytes, std::move(reason)};
}

std::string UpperHex(const unsigned char* bytes, unsigned count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count * 2);
  for (unsigned i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

}  // namespace

HashResult HashFileSha1(const std::string& path, HashControl& control,
                        std::size_t blockSize) noexcept {
  try {
    control.done = 0;
    control.total = 0;
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) return Failure(ErrorText(errno));
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) return Failure(ErrorText(errno));
    if (S_ISDIR(status.st_mode)) return Failure(ErrorText(EISDIR));
    if (S_ISREG(status.st_mode)) control.total = static_cast<std::uint64_t>(status.st_size);
    // Doubles the kernel's read-ahead, which is what keeps a cold disk busy while we hash.
    ::posix_fadvise(file.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    DigestContext context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha1(), nullptr) != 1) {
      return Failure("SHA1 is not available");
    }
    if (blockSize == 0) blockSize = kHashBlockSize;
    const std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[blockSize]);
    if (!buffer) return Failure(ErrorText(ENOMEM));

    std::uint64_t bytes = 0;
    for (;;) {
      if (control.cancel.load(std::memory_order_relaxed)) {
        return {HashStatus::Cancelled, {}, bytes, {}};
      }
      const ssize_t got = ::read(file.Get(), buffer.get(), blockSize);
      if (got < 0) {
        if (errno == EINTR) continue;
        return Failure(ErrorText(errno), bytes);
      }
      if (got == 0) break;
      if (EVP_DigestUpdate(context.get(), buffer.get(), static_cast<std::size_t>(got)) != 1) {
        return Failure("SHA1 failed", bytes);
      }
      bytes += static_cast<std::uint64_t>(got);
      control.done.store(bytes, std::memory_order_relaxed);
    }

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return Failure("SHA1 failed");
    // A file that grew or shrank while it was read: the figure shown must be the truth.
    control.total = bytes;
    return {HashStatus::Done, UpperHex(digest, length), bytes, {}};
  } catch (...) {
    return Failure(ErrorText(ENOMEM));
  }
}

}  // namespace zendra::verify
