#include "text/extract_between.h"

#include <gtest/gtest.h>

#include "platform/automation/com_init.h"
#include "platform/automation/factories.h"
#include "platform/codepage/code_page.h"

namespace zendra {
namespace {

TEST(ExtractBetweenTest, EscapeMarker) {
  const Text quote = Cp936FromUtf8("#引号");
  const struct {
    Text marker, expected;
  } cases[] = {
      {"a?b*c+", "a\\?b\\*c\\+"},
      {"[x](y){z}", "\\[x\\]\\(y\\)\\{z\\}"},
      {quote + "id" + quote + ":", "\"id\":"},
      {"a\r\nb\rc\n", "a\\nb\rc\n"},
      {"a.c|^$\\", "a.c|^$\\"},
      // 乕 is 81 5B: its second byte is "[" and must not be escaped.
      {"\x81\x5B[", "\x81\x5B\\["},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeMarker(c.marker), c.expected) << c.marker;
}

TEST(ExtractBetweenTest, ReplacePairs) {
  EXPECT_EQ(ReplacePairs("aAbB", {{"a", "1"}, {"b", "2"}}), "1122");
  EXPECT_EQ(ReplacePairs("aAbB", {{"a", "1"}, {"b", "2"}}, std::nullopt, std::nullopt, true),
            "1A2B");
  EXPECT_EQ(ReplacePairs("aaa", {{"a", "b"}, {"b", "c"}}, 1), "caa");
  EXPECT_EQ(ReplacePairs("aaa", {{"a", "b"}}, std::nullopt, 2), "abb");
  EXPECT_EQ(ReplacePairs("aaa", {{"a", "b"}}, std::nullopt, 0), "bbb");
}

TEST(ExtractBetweenTest, Pieces) {
  const Text quote = Cp936FromUtf8("#引号");
  const struct {
    Text text, left, right;
    ExtractOptions options;
    TextArray expected;
  } cases[] = {
      {"no markers here", "<a>", "</a>", {}, {}},
      {"<a>1</a><a>22</a>", "<a>", "</a>", {}, {"1", "22"}},
      {"[1][2]", "[", "]", {}, {"1", "2"}},
      {"x=1;x=2;", "X=", ";", {}, {"1", "2"}},
      {"ab", "a", "b", {}, {""}},
      {"<p>a\r\nb</p>", "<p>", "</p>", {}, {"a\r\nb"}},
      // A CR LF in a marker stands for a lone line feed.
      {"x\ny#x\r\nz#", "x\r\n", "#", {}, {"y"}},
      // "|" keeps its meaning: an empty alternative matches everywhere.
      {"ab", "a", "|", {}, {"", "", ""}},
      {"abcX;", "a.c", ";", {}, {"X"}},
      {"{\"id\":\"7\",\"id\":\"8\"}", quote + "id" + quote + ":" + quote, quote, {}, {"7", "8"}},
      {"a;b;", "a", "", {}, {""}},
      {"a;b;c", "", ";", {}, {"a", "b"}},
      {"<abc><abcd>", "<", ">", {.maxLength = 3}, {"abc"}},
      {"<abc><abcd>", "<", ">", {.maxLength = -1}, {}},
      {"(x)",
       "(",
       ")",
       {.prefix = "<", .suffix = ">", .includeLeft = true, .includeRight = true},
       {"(<x>)"}},
      {"<1><1><2>", "<", ">", {}, {"1", "1", "2"}},
      // Double-byte characters: 乕 (81 5B) holds the byte of "[" and stays itself.
      {"\x81\x5B[v]", "[", "]", {}, {"v"}},
      {Cp936FromUtf8("名称：中文；名称：英文；"),
       Cp936FromUtf8("名称："),
       Cp936FromUtf8("；"),
       {},
       {Cp936FromUtf8("中文"), Cp936FromUtf8("英文")}},
  };
  for (const auto& c : cases) {
    TextArray results{"stale"};
    const std::int32_t count = ExtractBetween(c.text, c.left, c.right, results, c.options);
    EXPECT_EQ(results, c.expected) << c.text;
    EXPECT_EQ(count, static_cast<std::int32_t>(c.expected.size())) << c.text;
  }
}

TEST(ExtractBetweenTest, IncludedMarkersAreTheCallersOwn) {
  const Text quote = Cp936FromUtf8("#引号");
  TextArray results;
  ExtractBetween("\"a\"", quote, quote, results, {.includeLeft = true, .includeRight = true});
  EXPECT_EQ(results, (TextArray{quote + "a" + quote}));
}

TEST(ExtractBetweenTest, EngineThatFailsToCreateGivesNothing) {
  const int before = AutomationInitCount();
  ScopedFactory<RegExp> failing([] { return ObjectRef<RegExp>(); });
  TextArray results{"stale", "old"};
  EXPECT_EQ(ExtractBetween("<a>1</a>", "<a>", "</a>", results), 0);
  EXPECT_TRUE(results.empty());
  EXPECT_EQ(AutomationInitCount(), before);
}

TEST(ExtractBetweenTest, BalancesTheAutomationLayer) {
  const int before = AutomationInitCount();
  TextArray results;
  ExtractBetween("<a>1</a>", "<a>", "</a>", results);
  EXPECT_EQ(AutomationInitCount(), before);
}

}  // namespace
}  // namespace zendra
