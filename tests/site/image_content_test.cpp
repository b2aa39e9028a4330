#define OPENSSL_SUPPRESS_DEPRECATED
#include "site/image_content.h"

#include <gtest/gtest.h>
#include <openssl/sha.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "site/image_midstates.h"
#include "site/sample_site.h"
#include "tests/site/site_client.h"

namespace zendra::site {
namespace {

std::string Hex(const unsigned char* digest) {
  std::string text;
  for (int i = 0; i < SHA_DIGEST_LENGTH; ++i) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", digest[i]);
    text += pair;
  }
  return text;
}

// The digest of every byte of the image, made in odd-sized pieces so that pieces straddle
// words and the end of the shared part.
std::string WholeSha1(const std::string& name, std::int64_t size) {
  SHA_CTX context;
  SHA1_Init(&context);
  std::vector<unsigned char> piece(65'537);
  for (std::int64_t offset = 0; offset < size;) {
    const auto take = static_cast<std::size_t>(std::min<std::int64_t>(piece.size(), size - offset));
    ImageBytes(name, size, offset, take, piece.data());
    SHA1_Update(&context, piece.data(), take);
    offset += static_cast<std::int64_t>(take);
  }
  unsigned char digest[SHA_DIGEST_LENGTH];
  SHA1_Final(digest, &context);
  return Hex(digest);
}

TEST(ImageContent, SavedStatesAreThoseOfTheSharedStream) {
  SHA_CTX context;
  SHA1_Init(&context);
  std::vector<unsigned char> piece(1 << 20);
  std::int64_t offset = 0;
  std::string table;
  bool same = true;
  for (const auto& saved : kSharedMidstates) {
    while (offset < saved.length) {
      const auto take =
          static_cast<std::size_t>(std::min<std::int64_t>(piece.size(), saved.length - offset));
      ImageBytes("", kImageSizes.back(), offset, take, piece.data());
      SHA1_Update(&context, piece.data(), take);
      offset += static_cast<std::int64_t>(take);
    }
    const std::array<std::uint32_t, 5> state{context.h0, context.h1, context.h2, context.h3,
                                             context.h4};
    same = same && state == saved.state;
    char line[160];
    std::snprintf(line, sizeof line, "    {%lld, {0x%08x, 0x%08x, 0x%08x, 0x%08x, 0x%08x}},\n",
                  static_cast<long long>(saved.length), state[0], state[1], state[2], state[3],
                  state[4]);
    table += line;
  }
  EXPECT_TRUE(same) << "the shared stream changed; the saved states are now:\n" << table;
}

TEST(ImageContent, DigestsAndSizesMatchTheBytesServed) {
  const struct {
    const char* name;
    std::int64_t size;
  } cases[] = {
      {"zh-cn_tool_x64_a1b2c3.exe", ImageSize("zh-cn_tool_x64_a1b2c3.exe", 0)},
      {"en-us_tool_x86_d4e5f6.zip", ImageSize("en-us_tool_x86_d4e5f6.zip", 1)},
      {"tiny.cab", 1},
      {"below-the-first-shared-part.iso", 100'000},
      {"exactly-a-shared-part.iso", kImageSizes[0] - kTailRoom},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImageSha1(c.name, c.size), WholeSha1(c.name, c.size)) << c.name;
  }
  // Different names, different bytes, even at one size.
  EXPECT_NE(ImageSha1("a.iso", 5000), ImageSha1("b.iso", 5000));
  EXPECT_EQ(ImageSha1("too-big.iso", kImageSizes.back() + 1), "");
  EXPECT_EQ(ImageSha1("empty.iso", 0), "");

  for (std::size_t k = 0; k < kImageSizes.size(); ++k) {
    std::set<std::int64_t> sizes;
    for (const char* name : {"a.iso", "b.iso", "c.iso", "d.iso"}) {
      const auto size = ImageSize(name, k);
      EXPECT_GT(size, kImageSizes[k] - kTailRoom);
      EXPECT_LE(size, kImageSizes[k]);
      EXPECT_EQ(SharedLength(size), kImageSizes[k] - kTailRoom);
      sizes.insert(size);
    }
    EXPECT_GE(sizes.size(), 3u) << "sizes of one class should vary";
  }
}

TEST(ImageContent, TheSiteServesEachBundledImageWithItsListedDigest) {
  SampleSite site;
  ASSERT_TRUE(site.Start());
  auto client = testing::ClientFor(site);

  const CatalogueFile* smallest = nullptr;
  for (const auto& category : site.Content().categories) {
    for (const auto& product : category.products) {
      for (const auto& language : product.languages) {
        for (const auto& file : language.files) {
          ASSERT_TRUE(IsServedSize(file.size)) << file.fileName;
          ASSERT_EQ(file.sha1, ImageSha1(file.fileName, file.size));
          if (!smallest || file.size < smallest->size) smallest = &file;
        }
      }
    }
  }
  ASSERT_NE(smallest, nullptr);
  const std::string path = "/download/" + smallest->fileName;

  auto whole = client->Get(path.c_str());
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->status, 200);
  EXPECT_EQ(whole->get_header_value("Content-Type"), "application/octet-stream");
  ASSERT_EQ(static_cast<std::int64_t>(whole->body.size()), smallest->size);
  unsigned char digest[SHA_DIGEST_LENGTH];
  SHA1(reinterpret_cast<const unsigned char*>(whole->body.data()), whole->body.size(), digest);
  EXPECT_EQ(Hex(digest), smallest->sha1);

  // A resumed download gets the rest from where it stopped.
  const auto from = smallest->size - 10'000;
  auto rest = client->Get(path.c_str(), {{"Range", "bytes=" + std::to_string(from) + "-"}});
  ASSERT_TRUE(rest);
  EXPECT_EQ(rest->status, 206);
  EXPECT_EQ(rest->body, whole->body.substr(static_cast<std::size_t>(from)));

  auto unknown = client->Get("/download/no-such-image.iso");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->status, 404);
}

}  // namespace
}  // namespace zendra::site
