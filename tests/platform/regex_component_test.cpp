#include <gtest/gtest.h>

#include "platform/codepage/code_page.h"
#include "platform/regex/pcre2_reg_exp.h"

namespace zendra {
namespace {

ObjectRef<RegExp> Engine(const Text& pattern, bool global = true, bool ignoreCase = false,
                         bool multiline = false) {
  const ObjectRef<RegExp> engine = MakePcre2RegExp();
  engine.Call(&RegExp::SetGlobal, global);
  engine.Call(&RegExp::SetIgnoreCase, ignoreCase);
  engine.Call(&RegExp::SetMultiline, multiline);
  engine.Call(&RegExp::SetPattern, pattern);
  return engine;
}

TEST(RegexComponentTest, StartsWithFlagsOffAndNoPattern) {
  const ObjectRef<RegExp> engine = MakePcre2RegExp();
  ASSERT_TRUE(engine);
  EXPECT_FALSE(engine.Call(&RegExp::IgnoreCase));
  EXPECT_FALSE(engine.Call(&RegExp::Multiline));
  EXPECT_FALSE(engine.Call(&RegExp::Global));
  EXPECT_EQ(engine.Call(&RegExp::Pattern), "");
}

TEST(RegexComponentTest, BadPatternFailsExecuteAndReplace) {
  for (const char* pattern : {"(", "a**", "[b-a]", "(?i)a", "(*UTF)a", "a++", "\\"}) {
    const ObjectRef<RegExp> engine = Engine(pattern);
    EXPECT_FALSE(engine.Call(&RegExp::Execute, Variant(Text("aaa")))) << pattern;
    EXPECT_EQ(engine.Call(&RegExp::Replace, Variant(Text("aaa")), Variant(Text("x"))), "")
        << pattern;
  }
}

TEST(RegexComponentTest, DotAndAnchorsFollowLineFeedsOnly) {
  const struct {
    const char* pattern;
    bool multiline;
    const char* subject;
    std::int32_t count;
  } cases[] = {
      {".", false, "\r", 1},  {".", false, "\n", 0},     {"a$", false, "a\n", 0},
      {"a$", true, "a\n", 1}, {"^b", true, "a\r\nb", 1}, {"^b", false, "a\nb", 0},
  };
  for (const auto& c : cases) {
    const auto found = Engine(c.pattern, true, false, c.multiline)
                           .Call(&RegExp::Execute, Variant(Text(c.subject)));
    EXPECT_EQ(found.Call(&MatchCollection::Count), c.count) << c.pattern;
  }
}

TEST(RegexComponentTest, FirstIndexCountsUtf16UnitsAndTextsComeBackAsCodePage936) {
  const Text subject = Cp936FromUtf8("中12文abc");
  const auto found = Engine("(\\d+)|([a-c]+)").Call(&RegExp::Execute, Variant(subject));
  ASSERT_EQ(found.Call(&MatchCollection::Count), 2);
  const auto first = found.Call(&MatchCollection::Item, 0);
  EXPECT_EQ(first.Call(&Match::FirstIndex), 1);
  EXPECT_EQ(first.Call(&Match::Value).AsText(), "12");
  const auto second = found.Call(&MatchCollection::Item, 1);
  EXPECT_EQ(second.Call(&Match::FirstIndex), 4);
  const auto groups = second.Call(&Match::SubMatches);
  EXPECT_EQ(groups.Call(&SubMatchCollection::Count), 2);
  EXPECT_TRUE(groups.Call(&SubMatchCollection::Item, 0).IsEmpty());  // took no part
  EXPECT_EQ(groups.Call(&SubMatchCollection::Item, 1), Variant(Text("abc")));
  EXPECT_TRUE(groups.Call(&SubMatchCollection::Item, 2).IsEmpty());  // no such group
  EXPECT_FALSE(found.Call(&MatchCollection::Item, 2));
  EXPECT_FALSE(found.Call(&MatchCollection::Item, -1));

  const Text replaced =
      Engine(Cp936FromUtf8("文")).Call(&RegExp::Replace, Variant(subject), Variant(Text("<$&>")));
  EXPECT_EQ(replaced, Cp936FromUtf8("中12<文>abc"));
}

TEST(RegexComponentTest, FlagChangesAfterAPatternTakeEffect) {
  const ObjectRef<RegExp> engine = Engine("A", false);
  const Variant subject(Text("aA"));
  EXPECT_EQ(engine.Call(&RegExp::Replace, subject, Variant(Text("x"))), "ax");
  engine.Call(&RegExp::SetIgnoreCase, true);
  EXPECT_EQ(engine.Call(&RegExp::Replace, subject, Variant(Text("x"))), "xA");
  engine.Call(&RegExp::SetGlobal, true);
  EXPECT_EQ(engine.Call(&RegExp::Replace, subject, Variant(Text("x"))), "xx");
}

TEST(RegexComponentTest, EmptyMatchesAdvanceWithoutLooping) {
  const Text subject(100000, 'b');
  const auto found = Engine("a*").Call(&RegExp::Execute, Variant(subject));
  EXPECT_EQ(found.Call(&MatchCollection::Count), 100001);
}

TEST(RegexComponentTest, CatastrophicBacktrackingEndsTheSearch) {
  // Nested quantifiers against a subject that almost matches would run for ages.
  const Text subject = "aa!" + Text(40, 'a');
  const auto found = Engine("(a+)+!|(a+)+b").Call(&RegExp::Execute, Variant(subject));
  ASSERT_TRUE(found);
  // The first match comes before the hostile part and is kept.
  EXPECT_EQ(found.Call(&MatchCollection::Count), 1);
  EXPECT_EQ(found.Call(&MatchCollection::Item, 0).Call(&Match::Value).AsText(), "aa!");
  const Text replaced =
      Engine("(x+x+)+y").Call(&RegExp::Replace, Variant(Text(5000, 'x')), Variant(Text("-")));
  EXPECT_EQ(replaced, Text(5000, 'x'));
}

TEST(RegexComponentTest, AnEmptySubjectIsTheEmptyText) {
  const ObjectRef<RegExp> engine = Engine("a");
  const auto fromEmpty = engine.Call(&RegExp::Execute, Variant());
  ASSERT_TRUE(fromEmpty);
  EXPECT_EQ(fromEmpty.Call(&MatchCollection::Count), 0);
}

}  // namespace
}  // namespace zendra
