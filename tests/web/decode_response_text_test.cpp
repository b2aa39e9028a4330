#include "web/decode_response_text.h"

#include <gtest/gtest.h>

namespace zendra {
namespace {

TEST(DecodeResponseText, Utf8BodiesBecomeCodePage936) {
  struct Case {
    Bytes body;
    Text expected;
  };
  const Case cases[] = {
      {{0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87}, "\xD6\xD0\xCE\xC4"},
      {{}, ""},
      {{0x41, 0x00, 0x42}, "A"},
      {{'{', '"', 'a', '"', ':', '1', '}'}, "{\"a\":1}"},
      {{0xE2, 0x82, 0xAC}, "\x80"},     // the euro sign has a code in code page 936
      {{0xF0, 0x9F, 0x98, 0x80}, "?"},  // an emoji has none
      {{0x41, 0xFF, 0x42}, "A?B"},      // malformed UTF-8 becomes U+FFFD, then "?"
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeResponseText(c.body), c.expected);
}

}  // namespace
}  // namespace zendra
