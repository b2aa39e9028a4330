#include "platform/png/decode_png.h"

#include <png.h>

#include <cstring>

namespace zendra {
namespace {

// Sole owner of one libpng simplified-API image.
class PngImageReader {
 public:
  PngImageReader() noexcept {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImageReader() { png_image_free(&image_); }
  PngImageReader(const PngImageReader&) = delete;
  PngImageReader& operator=(const PngImageReader&) = delete;

  png_image& Get() noexcept { return image_; }

 private:
  png_image image_;
};

}  // namespace

QImage DecodePng(const Bytes& png) noexcept {
  if (png.empty()) return {};
  try {
    PngImageReader reader;
    png_image& image = reader.Get();
    if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) return {};
    const long long width = image.width;
    const long long height = image.height;
    if (width <= 0 || height <= 0 || width > kMaxPngSide || height > kMaxPngSide ||
        width * height > kMaxPngPixels) {
      return {};
    }
    image.format = PNG_FORMAT_RGBA;
    QImage decoded(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGBA8888);
    if (decoded.isNull()) return {};
    // For 8-bit channels the row stride in components equals the row length in bytes.
    if (png_image_finish_read(&image, nullptr, decoded.bits(),
                              static_cast<png_int_32>(decoded.bytesPerLine()), nullptr) == 0) {
      return {};
    }
    return decoded;
  } catch (...) {
    return {};
  }
}

}  // namespace zendra
