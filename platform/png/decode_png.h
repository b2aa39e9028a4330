#pragma once

#include <QImage>

#include "platform/types.h"

namespace zendra {

// Largest picture accepted, per side and in pixels: a hostile header cannot make us
// allocate more than 64 MiB.
inline constexpr int kMaxPngSide = 8192;
inline constexpr long long kMaxPngPixels = 16LL * 1024 * 1024;

// Decodes a PNG held in memory into an 8-bit RGBA image. Anything that is not a
// well-formed PNG within the limits gives a null image.
QImage DecodePng(const Bytes& png) noexcept;

}  // namespace zendra
