#include "text/regex_object.h"

#include <gtest/gtest.h>

#include "platform/automation/com_init.h"
#include "platform/automation/factories.h"
#include "platform/codepage/code_page.h"

namespace zendra {
namespace {

TEST(RegexObjectTest, StartsEmpty) {
  RegexObject regex;
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.ReplaceMatches("x"), "");
  EXPECT_EQ(regex.subject, Variant(std::int32_t{0}));
  std::int32_t position = 99;
  EXPECT_EQ(regex.GetMatchText(1, &position), "");
  EXPECT_EQ(position, 0);  // the subject 0 reads as the text "0"; the empty text is at 0
}

TEST(RegexObjectTest, MatchTextsAndBytePositions) {
  const struct {
    Text pattern, subject;
    std::int32_t matchIndex, groupIndex;  // groupIndex 0: the whole match
    Text expected;
    std::int32_t position;
  } cases[] = {
      {"\\d+", "ab12cd345", 1, 0, "12", 2}, {"\\d+", "ab12cd345", 2, 0, "345", 6},
      {"\\d+", "ab12cd345", 3, 0, "", 0},   {"\\d+", Cp936FromUtf8("中12"), 1, 0, "12", 2},
      {"(a)(a)", "xaa", 1, 2, "a", 1},      {"(b)|(c)", "c", 1, 1, "", 0},
      {"(x)", "ax", 1, 1, "x", 1},          {"x", "", 1, 0, "", -2},
  };
  for (const auto& c : cases) {
    RegexObject regex;
    regex.Search(c.pattern, c.subject);
    std::int32_t position = 99;
    const Text found = c.groupIndex == 0
                           ? regex.GetMatchText(c.matchIndex, &position)
                           : regex.GetSubMatchText(c.matchIndex, c.groupIndex, &position);
    EXPECT_EQ(found, c.expected) << c.pattern << " in " << c.subject;
    EXPECT_EQ(position, c.position) << c.pattern << " in " << c.subject;
  }
}

TEST(RegexObjectTest, PositionIgnoresCaseExactlyWhenTheEngineDoesNot) {
  // The engine's IgnoreCase is read back as text and compared with "0".
  RegexObject regex;
  std::int32_t position = 0;
  regex.Search("B", "xbB", true);  // case-sensitive engine: FindText ignores case
  EXPECT_EQ(regex.GetMatchText(1, &position), "B");
  EXPECT_EQ(position, 1);
  regex.Search("B", "xbB");  // engine ignores case: FindText regards it
  EXPECT_EQ(regex.GetMatchText(1, &position), "b");
  EXPECT_EQ(position, 1);
}

TEST(RegexObjectTest, ReplaceCountAndPattern) {
  RegexObject regex;
  EXPECT_TRUE(regex.Search("\\d", "a1b2"));
  EXPECT_EQ(regex.ReplaceMatches("#"), "a#b#");
  EXPECT_EQ(regex.ReplaceMatches(), "ab");
  EXPECT_EQ(regex.GetPattern(), "\\d");
  regex.Search("\\d", "a1b2", false, true, false);
  EXPECT_EQ(regex.ReplaceMatches("#"), "a#b2");

  regex.Search("(\\d)-(\\d)", "1-2 3-4");
  EXPECT_EQ(regex.GetSubMatchCount(), 2);
  EXPECT_EQ(regex.ReplaceMatches("$2-$1"), "2-1 4-3");
  regex.Search("(\\d)-(\\d)", "none");
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

TEST(RegexObjectTest, UnquoteTurnsPlaceholdersIntoQuotes) {
  const Text quote = Cp936FromUtf8("#引号");
  RegexObject regex;
  regex.Search(quote + "(\\w+)" + quote, "say \"hi\"", false, true, true, true);
  EXPECT_EQ(regex.GetPattern(), "\"(\\w+)\"");
  EXPECT_EQ(regex.GetSubMatchText(1, 1), "hi");
  regex.Search(quote + "(\\w+)" + quote, "say \"hi\"");
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

TEST(RegexObjectTest, FailuresGiveEmptyValues) {
  RegexObject regex;
  EXPECT_FALSE(regex.Search("(", "abc"));
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.ReplaceMatches("x"), "");
  {
    ScopedFactory<RegExp> failing([] { return ObjectRef<RegExp>(); });
    EXPECT_FALSE(regex.Search("a", "abc"));
    EXPECT_TRUE(regex.engine.IsEmpty());
    EXPECT_EQ(regex.GetPattern(), "");
    EXPECT_EQ(regex.subject, Variant(Text("abc")));
  }
  regex.Search("a", "a");
  for (const std::int32_t index : {0, -1, 2, std::numeric_limits<std::int32_t>::min()}) {
    EXPECT_EQ(regex.GetMatchText(index), "");
    EXPECT_EQ(regex.GetSubMatchText(1, index), "");
    EXPECT_EQ(regex.GetSubMatchText(index, 1), "");
  }
}

TEST(RegexObjectTest, CopiesShareTheEngineAndBalanceTheAutomationLayer) {
  const int before = AutomationInitCount();
  {
    RegexObject original;
    original.Search("\\d", "a1");
    {
      RegexObject copy(original);
      EXPECT_EQ(AutomationInitCount(), before + 2);
      EXPECT_EQ(copy.engine, original.engine);
      EXPECT_EQ(copy.matches, original.matches);
      EXPECT_EQ(copy.GetMatchText(1), "1");
      copy.Search("b", "b");  // replaces only the copy's references
      EXPECT_EQ(original.GetMatchText(1), "1");
      RegexObject assigned;
      assigned = original;
      EXPECT_EQ(assigned.engine, original.engine);
    }
    EXPECT_EQ(AutomationInitCount(), before + 1);
    EXPECT_EQ(original.engine.UseCount(), 1);
  }
  EXPECT_EQ(AutomationInitCount(), before);
}

}  // namespace
}  // namespace zendra
