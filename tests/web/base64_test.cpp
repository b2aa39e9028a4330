#include "web/base64.h"

#include <gtest/gtest.h>

namespace zendra {
namespace {

Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(Base64, EncodesWithPadding) {
  struct Case {
    Bytes input;
    const char* expected;
  };
  const Case cases[] = {
      {{}, ""},
      {B("f"), "Zg=="},
      {B("fo"), "Zm8="},
      {B("foo"), "Zm9v"},
      {B("foobar"), "Zm9vYmFy"},
      {B("user:pass"), "dXNlcjpwYXNz"},
      {{0x00, 0xFF, 0xFE}, "AP/+"},
      {{0xFB, 0xFF}, "+/8="},
  };
  for (const auto& c : cases) EXPECT_EQ(Base64Encode(c.input), c.expected) << c.expected;
}

TEST(Base64, LongInputStaysOnOneLine) {
  const Text encoded = Base64Encode(Bytes(100, 0x41));
  EXPECT_EQ(encoded.size(), 136u);
  EXPECT_EQ(encoded.find_first_of("\r\n"), Text::npos);
  EXPECT_EQ(encoded.substr(132), "QQ==");
}

}  // namespace
}  // namespace zendra
