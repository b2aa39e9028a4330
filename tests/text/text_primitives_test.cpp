#include "text/text_primitives.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/codepage/code_page.h"

namespace zendra {
namespace {

// Code page 936 bytes of a few characters used below.
const Text kZhong = "\xD6\xD0";        // 中 (214 208)
const Text kWen = "\xCE\xC4";          // 文
const Text kTrapBracket = "\x81\x5B";  // 乕: its second byte is the code of "["
const Text kIdeoSpace = "\xA1\xA1";    // ideographic space
const std::optional<std::int32_t> kNone;

TEST(TextPrimitivesTest, FindText) {
  const struct {
    Text text, sought;
    std::optional<std::int32_t> start;
    bool ignoreCase;
    std::int32_t expected;
  } cases[] = {
      {"abcabc", "c", kNone, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "abc", 2, false, 4},
      {"ABC", "b", kNone, true, 2},
      {"ABC", "b", kNone, false, -1},
      {"xAbC", "aBc", kNone, true, 2},
      {"abc", "", kNone, false, 1},
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},
      {"", "", kNone, false, -1},
      {"", "a", kNone, false, -1},
      {"ab", "abc", kNone, false, -1},
      // Double-byte traps: a match is tried only where a character begins.
      {kTrapBracket, "[", kNone, false, -1},
      {kTrapBracket + "[", "[", kNone, false, 3},
      {kZhong + kTrapBracket + kZhong + "[", "[", kNone, false, 7},
      {"\x81\x81\x81\x81[", "[", kNone, false, 5},
      {"\x81\x81\x81[[", "[", kNone, false, 5},
      {"\x81"
       "a",
       "a", kNone, true, -1},
      {"\x81"
       "A"
       "a",
       "a", kNone, true, 3},
      {kZhong + kWen, kWen, kNone, false, 3},
      {kZhong + kWen, "\xD0\xCE", kNone, false, -1},
      // A start inside a character takes that byte as the beginning of one.
      {kTrapBracket, "[", 2, false, 2},
      // A lone lead byte at the very end ends the scan.
      {"a\x81", "\x81", kNone, false, -1},
      {"\x81"
       "a\x81",
       "\x81"
       "a",
       kNone, false, 1},
      // Non-letters are not folded.
      {"[", "{", kNone, true, -1},
      {"\xC4", "\xE4", kNone, true, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
        << "text=" << c.text << " sought=" << c.sought;
  }
}

TEST(TextPrimitivesTest, FindTextScansLongDoubleByteRunsCorrectly) {
  // Hits of the first byte inside a long run of double-byte characters must be classified
  // by their parity from the start; a "[" after an odd run of 0x81 bytes is a second byte.
  Text text;
  for (int k = 0; k < 1000; ++k) text += kTrapBracket;
  EXPECT_EQ(FindText(text, "["), -1);
  EXPECT_EQ(FindText(text + "[", "["), 2001);
  EXPECT_EQ(FindText(text + kZhong + "[", "["), 2003);
  EXPECT_EQ(FindText("a" + text, "\x5B\x81"), -1);
}

// The plain character walk that FindText must agree with.
std::int32_t WalkFind(const Text& text, const Text& sought, std::size_t from, bool ignoreCase) {
  auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  for (std::size_t i = from; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80 && i + 1 == text.size()) break;
    if (i + sought.size() <= text.size()) {
      bool equal = true;
      for (std::size_t k = 0; k < sought.size() && equal; ++k) {
        const auto a = static_cast<unsigned char>(text[i + k]);
        const auto b = static_cast<unsigned char>(sought[k]);
        equal = ignoreCase ? fold(a) == fold(b) : a == b;
      }
      if (equal) return static_cast<std::int32_t>(i + 1);
    }
    i += c >= 0x80 ? 2 : 1;
  }
  return -1;
}

TEST(TextPrimitivesTest, FindTextAgreesWithACharacterWalk) {
  const char alphabet[] = {'\x81', '\x5B', 'a', 'A', '\xA1'};
  std::uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  auto randomText = [&](std::size_t maxLength) {
    Text t(next() % (maxLength + 1), ' ');
    for (auto& c : t) c = alphabet[next() % sizeof alphabet];
    return t;
  };
  for (int round = 0; round < 20000; ++round) {
    const Text text = randomText(12);
    const Text sought = randomText(3);
    if (sought.empty()) continue;
    const std::int32_t start = static_cast<std::int32_t>(next() % 4);
    const bool ignoreCase = next() % 2 == 0;
    ASSERT_EQ(FindText(text, sought, start, ignoreCase),
              WalkFind(text, sought, start > 0 ? start - 1 : 0, ignoreCase))
        << "round " << round;
  }
}

TEST(TextPrimitivesTest, ReplaceText) {
  const struct {
    Text text, sought;
    std::optional<std::string_view> replacement;
    std::optional<std::int32_t> start, count;
    bool caseSensitive;
    Text expected;
  } cases[] = {
      {"a-b-c", "-", "+", kNone, kNone, false, "a+b+c"},
      {"a-b-c", "-", "+", kNone, 1, false, "a+b-c"},
      {"a-b-c", "-", "+", 3, kNone, false, "a-b+c"},
      {"a-b-c", "-", "+", kNone, 0, false, "a-b-c"},
      {"a-b-c", "-", "+", kNone, -1, false, "a+b+c"},
      {"a-b-c", "-", "+", 0, kNone, false, "a+b+c"},
      {"a-b-c", "-", "+", 6, kNone, false, "a-b-c"},
      {"a-b-c", "-", std::nullopt, kNone, kNone, false, "abc"},
      {"aAa", "a", "x", kNone, kNone, false, "xxx"},
      {"aAa", "a", "x", kNone, kNone, true, "xAx"},
      {"aaa", "aa", "b", kNone, kNone, false, "ba"},
      {"aaa", "a", "aa", kNone, kNone, false, "aaaaaa"},
      {"", "a", "b", kNone, kNone, false, ""},
      {"abc", "", "b", kNone, kNone, false, "abc"},
      {kTrapBracket + "[", "[", "\\[", kNone, kNone, false, kTrapBracket + "\\["},
      {kZhong + "a" + kZhong, "A", "b", kNone, kNone, false, kZhong + "b" + kZhong},
      {"x\x81", "\x81", "y", kNone, kNone, false, "x\x81"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.caseSensitive),
              c.expected)
        << "text=" << c.text << " sought=" << c.sought;
  }
}

TEST(TextPrimitivesTest, SplitText) {
  const struct {
    Text text;
    std::optional<std::string_view> separator;
    std::optional<std::int32_t> maxCount;
    TextArray expected;
  } cases[] = {
      {"a,,b", std::nullopt, kNone, {"a", "", "b"}},
      {",a", std::nullopt, kNone, {"", "a"}},
      {"a,b,", std::nullopt, kNone, {"a", "b"}},
      {",", std::nullopt, kNone, {""}},
      {"", std::nullopt, kNone, {}},
      {"abc", "", kNone, {"abc"}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -3, {}},
      {"a,b,c", ",", 5, {"a", "b", "c"}},
      {"a||b|c", "||", kNone, {"a", "b|c"}},
      {"aXbxc", "x", kNone, {"aXb", "c"}},
      {kTrapBracket + "[b", "[", kNone, {kTrapBracket, "b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.separator, c.maxCount), c.expected) << "text=" << c.text;
  }
}

TEST(TextPrimitivesTest, TrimSpaces) {
  const struct {
    Text text, expected;
  } cases[] = {
      {kIdeoSpace + "a ", "a"},
      {"\ta\r\n", "\ta\r\n"},
      {"  ", ""},
      {kIdeoSpace + kIdeoSpace, ""},
      {" a b ", "a b"},
      {" " + kZhong + " " + kIdeoSpace, kZhong},
      // A1 A1 is an ideographic space only where it begins a character.
      {"\xA0\xA1\xA1", "\xA0\xA1\xA1"},
      {"\xA0\xA1\xA1\xA1", "\xA0\xA1"},
      {"\x81 ", "\x81 "},
      {"a\xA1", "a\xA1"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimSpaces(c.text), c.expected) << "text=" << c.text;
}

TEST(TextPrimitivesTest, CutsCountBytes) {
  const Text zw = kZhong + kWen;
  EXPECT_EQ(TextLength(zw), 4);
  EXPECT_EQ(TextLeft(zw, 1), "\xD6");
  EXPECT_EQ(TextLeft("abc", 5), "abc");
  EXPECT_EQ(TextLeft("abc", 0), "");
  EXPECT_EQ(TextLeft("abc", -1), "");
  EXPECT_EQ(TextRight("abc", 2), "bc");
  EXPECT_EQ(TextRight("abc", 9), "abc");
  EXPECT_EQ(TextRight("abc", -2), "");
  EXPECT_EQ(TextMid("abc", 0, 2), "");
  EXPECT_EQ(TextMid("abc", 2, 5), "bc");
  EXPECT_EQ(TextMid("abc", 4, 1), "");
  EXPECT_EQ(TextMid("abc", 1, 0), "");
  EXPECT_EQ(TextMid("abc", 3, std::numeric_limits<std::int32_t>::max()), "c");

  const Bytes abc{'a', 'b', 'c'};
  EXPECT_EQ(BytesLength(abc), 3);
  EXPECT_EQ(BytesMid(abc, 0, 2), (Bytes{'a', 'b'}));
  EXPECT_EQ(BytesMid(abc, -7, 1), (Bytes{'a'}));
  EXPECT_EQ(BytesMid(abc, 2, 9), (Bytes{'b', 'c'}));
  EXPECT_EQ(BytesMid(abc, 4, 1), Bytes());
  EXPECT_EQ(BytesMid(abc, 1, 0), Bytes());
  EXPECT_EQ(BlankBytes(3), (Bytes{0, 0, 0}));
  EXPECT_EQ(BlankBytes(-1), Bytes());
  EXPECT_EQ(BlankText(2), "  ");
  EXPECT_EQ(BlankText(0), "");
}

TEST(TextPrimitivesTest, Conversions) {
  EXPECT_EQ(ToText(-5), "-5");
  EXPECT_EQ(ToText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(ToText(1.0 / 3), "0.3333333333333");
  EXPECT_EQ(ToText(2.5), "2.5");
  EXPECT_EQ(ToText(1e20), "1e+20");
  EXPECT_EQ(ToText(Bytes{65, 0, 66}), "A");
  EXPECT_EQ(ToText(Bytes{65, 66}), "AB");
  EXPECT_EQ(ToText(Bytes{}), "");
  EXPECT_EQ(ToBytes(Text("A\0B", 3)), (Bytes{65, 0, 66}));

  EXPECT_EQ(CharCode(kZhong), -42);
  EXPECT_EQ(CharCode("abc", 4), 0);
  EXPECT_EQ(CharCode("abc", 0), 0);
  EXPECT_EQ(CharCode("abc", 2), 98);
  EXPECT_EQ(CharFromCode(65), "A");
  EXPECT_EQ(CharFromCode(256 + 66), "B");
  EXPECT_EQ(CharFromCode(-42), "\xD6");
  EXPECT_EQ(CharFromCode(256), "");
  EXPECT_EQ(ToByte(-1), 255);
  EXPECT_EQ(ToByte(0x1234), 0x34);

  EXPECT_EQ(ToUpper("abcXyz1"), "ABCXYZ1");
  // 81 61: the second byte is "a" but belongs to a double-byte character.
  EXPECT_EQ(ToUpper("\x81"
                    "a"
                    "a"),
            "\x81"
            "a"
            "A");
  EXPECT_EQ(ToUpper("a\x81"), "A\x81");
}

TEST(TextPrimitivesTest, ToInteger) {
  const Text fullTwelve = Cp936FromUtf8("１２");
  const struct {
    Text text;
    std::int32_t expected;
  } cases[] = {
      {fullTwelve, 12},
      {"12ab", 12},
      {"ab", 0},
      {"", 0},
      {"  \t\n-42x", -42},
      {"+7", 7},
      {"- 7", 0},
      {"--7", 0},
      {Cp936FromUtf8("　－３４"), -34},
      {Cp936FromUtf8("＋5１"), 51},
      {Cp936FromUtf8("中12"), 0},
      {"2147483647", 2147483647},
      {"2147483648", std::numeric_limits<std::int32_t>::max()},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"-99999999999999999999999", std::numeric_limits<std::int32_t>::min()},
      {"99999999999999999999999", std::numeric_limits<std::int32_t>::max()},
      {"\xA3", 0},
      {"5\xA3", 5},
  };
  for (const auto& c : cases) EXPECT_EQ(ToInteger(c.text), c.expected) << "text=" << c.text;

  const struct {
    double number;
    std::int32_t expected;
  } numbers[] = {
      {2.9, 2},
      {-2.9, -2},
      {0.0, 0},
      {1e12, std::numeric_limits<std::int32_t>::max()},
      {-1e12, std::numeric_limits<std::int32_t>::min()},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : numbers) EXPECT_EQ(ToInteger(c.number), c.expected) << c.number;
}

TEST(TextPrimitivesTest, Arithmetic) {
  EXPECT_EQ(ShiftRight(-8, 1), -4);
  EXPECT_EQ(ShiftRight(-1, 31), -1);
  EXPECT_EQ(ShiftRight(256, 33), 128);
  EXPECT_EQ(ShiftLeft(-1, 4), -16);
  EXPECT_EQ(ShiftLeft(1, 31), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ShiftLeft(1, 32), 1);
  EXPECT_EQ(ShiftLeft(1, -1), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(BitAnd(0xFF, 0x0F), 0x0F);
  EXPECT_EQ(BitAnd(-1, 0x7, 0x6, 0x4), 0x4);
  EXPECT_DOUBLE_EQ(Remainder(7.5, 2), 1.5);
  EXPECT_DOUBLE_EQ(Remainder(-7.5, 2), -1.5);
}

TEST(TextPrimitivesTest, Joins) {
  EXPECT_EQ(JoinText({"a", "", "bc", kZhong}), "abc" + kZhong);
  EXPECT_EQ(JoinText({}), "");
  const Bytes a{1, 2}, b{3};
  EXPECT_EQ(JoinBytes({a, Bytes{}, b}), (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace zendra
