#include "web/text_helpers.h"

#include <gtest/gtest.h>

#include "platform/codepage/code_page.h"

namespace zendra {
namespace {

TEST(TextHelpers, ColonSplitsAtTheFirstColonAndTrims) {
  struct Case {
    const char* line;
    const char* name;
    const char* value;
  };
  const Case cases[] = {
      {"Referer: a:b", "Referer", "a:b"},
      {"no colon here", "", ""},
      {":x", "", "x"},
      {"  Name  :  v  ", "Name", "v"},
      {"\tName: v\r", "\tName", "v\r"},  // only blanks are trimmed
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBeforeColon(c.line), c.name) << c.line;
    EXPECT_EQ(TextAfterColon(c.line), c.value) << c.line;
  }
}

TEST(TextHelpers, TrimmingRemovesIdeographicBlanks) {
  const Text line =
      "N:\xA1\xA1"
      "a b ";
  EXPECT_EQ(TextAfterColon(line), "a b");
}

TEST(TextHelpers, ColonInsideADoubleByteCharacterIsNotAColon) {
  // 0x81 0x3A is one character whose second byte happens to be ':'.
  const Text line = "\x81:x:y";
  EXPECT_EQ(TextBeforeColon(line), "\x81:x");
  EXPECT_EQ(TextAfterColon(line), "y");
}

TEST(TextHelpers, TextBefore) {
  struct Case {
    const char* text;
    const char* marker;
    std::optional<std::int32_t> start;
    bool ignoreCase;
    const char* expected;
  };
  const Case cases[] = {
      {"abc[2]", "[", {}, false, "abc"},
      {"abc", "[", {}, false, ""},
      {"[2]", "[", {}, false, ""},
      {"Set-Cookie: a=1", ": ", {}, false, "Set-Cookie"},
      {"a[1]b[2]", "[", 4, false, "a[1]b"},  // the result always starts at the first character
      {"a[1]b[2]", "[", -3, false, "a"},
      {"a[1]", "[", 9, false, ""},  // start beyond the end finds nothing
      {"aXbxc", "x", {}, false, "aXb"},
      {"aXbxc", "x", {}, true, "a"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextBefore(c.text, c.marker, c.start, c.ignoreCase), c.expected)
        << c.text << " / " << c.marker;
}

TEST(TextHelpers, TextBetween) {
  struct Case {
    const char* text;
    const char* left;
    const char* right;
    std::optional<std::int32_t> start;
    bool ignoreCase;
    const char* expected;
  };
  const Case cases[] = {
      {"abc[2]", "[", "]", {}, false, "2"},
      {"a[]", "[", "]", {}, false, ""},
      {"a[2", "[", "]", {}, false, ""},
      {"a]2[", "[", "]", {}, false, ""},  // the right marker must follow the left one
      {"[1][2]", "[", "]", 2, false, "2"},
      {"<A>x</a>", "<a>", "</A>", {}, true, "x"},
      {"<A>x</a>", "<a>", "</A>", {}, false, ""},
      {"abc", "b", "", {}, false, ""},
      {"[x]", "[", "]", 99, false, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected)
        << c.text << " / " << c.left << " / " << c.right;
}

TEST(TextHelpers, QuotePlaceholderInMarkers) {
  const Text quote = Cp936FromUtf8("#引号");
  EXPECT_EQ(TextBetween(R"({"id":"42","n":1})", quote + "id" + quote + ":" + quote, quote), "42");
  // Outside markers the placeholder is ordinary text.
  EXPECT_EQ(TextBefore("a" + quote + "b", quote), "a");
}

TEST(TextHelpers, MarkersNeverSplitADoubleByteCharacter) {
  // 0x81 0x5B is one character whose second byte is '['.
  const Text text = "\x81[1[2]";
  EXPECT_EQ(TextBetween(text, "[", "]"), "2");
  EXPECT_EQ(TextBefore(text, "["), "\x81[1");
}

}  // namespace
}  // namespace zendra
