#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zendra::site {

// What a download link serves: made-up bytes, the same on every run, made on the fly.
// An image of `size` bytes is the first part of one stream that every image shares, up to
// the longest of the shared lengths below that fits, followed by a tail of its own drawn
// from its file name. The digest of each shared part is kept as SHA1's state after it, so
// that an image's digest costs only its tail.
inline constexpr std::int64_t kTailRoom = 4096;
inline constexpr std::array<std::int64_t, 4> kImageSizes{
    std::int64_t{1} << 20, std::int64_t{16} << 20, std::int64_t{256} << 20, std::int64_t{1} << 30};

// True for the sizes the site can serve: 1 byte up to the largest image size.
bool IsServedSize(std::int64_t size) noexcept;

// The size of the image `fileName` in size class k of kImageSizes: a little below it.
std::int64_t ImageSize(std::string_view fileName, std::size_t sizeClass) noexcept;

// 40 upper-case hexadecimal digits; empty for a size that is not served. Cheap when the
// image's tail is short (as ImageSize makes it), proportional to the tail otherwise.
std::string ImageSha1(std::string_view fileName, std::int64_t size);

// Writes bytes [offset, offset + length) of the image into `out`; the range must lie
// inside the image.
void ImageBytes(std::string_view fileName, std::int64_t size, std::int64_t offset,
                std::size_t length, unsigned char* out) noexcept;

// The length of the shared part of an image of `size` bytes.
std::int64_t SharedLength(std::int64_t size) noexcept;

}  // namespace zendra::site
