#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <array>
#include <cstdint>
#include <random>

#include "platform/png/decode_png.h"

namespace zendra {
namespace {

Bytes EncodePng(const QImage& image) {
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return Bytes(encoded.begin(), encoded.end());
}

Bytes SamplePng(int width, int height) {
  QImage image(width, height, QImage::Format_RGBA8888);
  image.fill(QColor(10, 200, 30, 128));
  return EncodePng(image);
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// A valid PNG whose header claims the given size, with a correct checksum, so only the
// size check can refuse it.
Bytes WithClaimedSize(Bytes png, std::uint32_t width, std::uint32_t height) {
  // Signature (8), chunk length (4), "IHDR" (4), then width and height; CRC after 13 bytes.
  PutBigEndian(png, 16, width);
  PutBigEndian(png, 20, height);
  PutBigEndian(png, 29, Crc32(png.data() + 12, 17));
  return png;
}

TEST(DecodePng, DecodesToRgbaOfTheStoredSize) {
  const QImage image = DecodePng(SamplePng(7, 3));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(7, 3));
  EXPECT_EQ(image.format(), QImage::Format_RGBA8888);
  EXPECT_EQ(image.pixelColor(6, 2), QColor(10, 200, 30, 128));
}

TEST(DecodePng, RefusesWhatIsNoSoundPicture) {
  const Bytes good = SamplePng(16, 16);
  Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  Bytes signatureOnly(good.begin(), good.begin() + 8);
  Bytes badChecksum = good;
  badChecksum[30] ^= 0xFF;
  const struct {
    const char* name;
    Bytes input;
  } cases[] = {
      {"empty", {}},
      {"not a png", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
      {"signature only", signatureOnly},
      {"cut in half", truncated},
      {"header checksum wrong", badChecksum},
      {"zero width", WithClaimedSize(good, 0, 16)},
      {"wider than the cap", WithClaimedSize(good, kMaxPngSide + 1, 1)},
      {"huge claimed size", WithClaimedSize(good, 0x7FFFFFFF, 0x7FFFFFFF)},
      {"too many pixels", WithClaimedSize(good, kMaxPngSide, kMaxPngSide)},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(DecodePng(c.input).isNull()) << c.name;
  }
}

TEST(DecodePng, AcceptsTheLargestSideAllowed) {
  EXPECT_EQ(DecodePng(SamplePng(kMaxPngSide, 1)).size(), QSize(kMaxPngSide, 1));
}

// Damaged pictures must never crash the decoder, whatever bytes were hit.
TEST(DecodePng, SurvivesDamagedBytes) {
  const Bytes good = SamplePng(40, 30);
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    Bytes damaged = good;
    const int hits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < hits; ++i) {
      damaged[8 + random() % (damaged.size() - 8)] = static_cast<std::uint8_t>(random());
    }
    const QImage image = DecodePng(damaged);
    if (!image.isNull()) {
      EXPECT_EQ(image.size(), QSize(40, 30));
    }
  }
}

}  // namespace
}  // namespace zendra
