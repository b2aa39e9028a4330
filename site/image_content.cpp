// The low-level SHA1 context is the only way to resume from a saved state; EVP has none.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "site/image_content.h"

#include <openssl/sha.h>

#include <algorithm>
#include <cstring>

#include "site/image_midstates.h"

namespace zendra::site {
namespace {

constexpr std::uint64_t kSharedSeed = 0x5a656e6472612121ULL;

std::uint64_t Mix(std::uint64_t x) noexcept {
  // splitmix64's finaliser: every word of the stream is independent, so any range can be
  // made without the bytes before it.
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

std::uint64_t TailSeed(std::string_view fileName) noexcept {
  unsigned char digest[SHA_DIGEST_LENGTH];
  SHA1(reinterpret_cast<const unsigned char*>(fileName.data()), fileName.size(), digest);
  std::uint64_t seed = 0;
  for (int i = 0; i < 8; ++i) seed = (seed << 8) | digest[i];
  return seed;
}

// Bytes [offset, offset + length) of the stream that starts with word seed ^ 0.
void StreamBytes(std::uint64_t seed, std::uint64_t offset, std::size_t length,
                 unsigned char* out) noexcept {
  // Whole words at once where the range allows: a download makes a gigabyte of these.
  while (length >= 8 && offset % 8 == 0) {
    const std::uint64_t word = Mix(seed ^ (offset / 8));
    for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(word >> (8 * i));
    out += 8;
    offset += 8;
    length -= 8;
  }
  while (length > 0) {
    const std::uint64_t word = Mix(seed ^ (offset / 8));
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(word >> (8 * i));
    const std::size_t from = offset % 8;
    const std::size_t take = std::min<std::size_t>(8 - from, length);
    std::memcpy(out, bytes + from, take);
    out += take;
    offset += take;
    length -= take;
  }
}

}  // namespace

bool IsServedSize(std::int64_t size) noexcept { return size > 0 && size <= kImageSizes.back(); }

std::int64_t SharedLength(std::int64_t size) noexcept {
  std::int64_t shared = 0;
  for (const auto length : kImageSizes) {
    if (length - kTailRoom <= size) shared = length - kTailRoom;
  }
  return shared;
}

std::int64_t ImageSize(std::string_view fileName, std::size_t sizeClass) noexcept {
  const auto tail = static_cast<std::int64_t>(512 + TailSeed(fileName) % (kTailRoom - 512));
  return kImageSizes[std::min(sizeClass, kImageSizes.size() - 1)] - kTailRoom + tail;
}

void ImageBytes(std::string_view fileName, std::int64_t size, std::int64_t offset,
                std::size_t length, unsigned char* out) noexcept {
  const auto shared = SharedLength(size);
  if (offset < shared) {
    const auto take = static_cast<std::size_t>(std::min<std::int64_t>(length, shared - offset));
    StreamBytes(kSharedSeed, static_cast<std::uint64_t>(offset), take, out);
    out += take;
    offset += static_cast<std::int64_t>(take);
    length -= take;
  }
  if (length > 0) {
    StreamBytes(TailSeed(fileName), static_cast<std::uint64_t>(offset - shared), length, out);
  }
}

std::string ImageSha1(std::string_view fileName, std::int64_t size) {
  if (!IsServedSize(size)) return {};
  const auto shared = SharedLength(size);
  SHA_CTX context;
  SHA1_Init(&context);
  for (const auto& saved : kSharedMidstates) {
    if (saved.length != shared) continue;
    context.h0 = saved.state[0];
    context.h1 = saved.state[1];
    context.h2 = saved.state[2];
    context.h3 = saved.state[3];
    context.h4 = saved.state[4];
    // The context counts bits in two 32-bit halves.
    const auto bits = static_cast<std::uint64_t>(shared) * 8;
    context.Nl = static_cast<SHA_LONG>(bits);
    context.Nh = static_cast<SHA_LONG>(bits >> 32);
  }
  unsigned char block[1 << 16];
  for (std::int64_t offset = shared; offset < size;) {
    const auto take = static_cast<std::size_t>(std::min<std::int64_t>(sizeof block, size - offset));
    ImageBytes(fileName, size, offset, take, block);
    SHA1_Update(&context, block, take);
    offset += static_cast<std::int64_t>(take);
  }
  unsigned char digest[SHA_DIGEST_LENGTH];
  SHA1_Final(digest, &context);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const unsigned char byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

}  // namespace zendra::site
