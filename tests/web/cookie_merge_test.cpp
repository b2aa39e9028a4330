#include "web/cookie_merge.h"

#include <gtest/gtest.h>

#include "web/item_list.h"

namespace zendra {
namespace {

TEST(CookieMerge, MergeCookies) {
  struct Case {
    const char* oldCookies;
    const char* newCookies;
    const char* expected;
  };
  const Case cases[] = {
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
      {"a=1; b=2", "a=deleted", "b=2"},
      {"x=deleted", "", ""},
      {"a=DELETED", "", "a=DELETED"},
      {"a=1", "", "a=1"},
      {"", "", ""},
      {"", "a=1", "a=1"},
      {"a=1;", "", "a=1"},
      {"  a=1;  ", "b=2;", "b=2; a=1"},
      {"a=1; a=2", "", "a=1"},
      {"", "c=4; c=4", "c=4"},
      {"", "c=4; c=5", "c=4; c=5"},
      {"A=1", "a=2", "a=2; A=1"},
      {" a =1", "a=2", "a=2"},  // names are trimmed before comparing
      {"flag; a=1", "flag", "flag; a=1"},
      {"Cookie: a=1", "b=2", "b=2; Cookie: a=1"},
  };
  for (const auto& c : cases) {
    Text older = c.oldCookies;
    EXPECT_EQ(MergeCookies(older, c.newCookies), c.expected)
        << c.oldCookies << " + " << c.newCookies;
    EXPECT_EQ(older, c.expected);
  }
}

TEST(CookieMerge, RunningCookieTextAcrossAnswers) {
  Text running;
  MergeCookies(running, "sid=1; theme=dark");
  MergeCookies(running, "sid=2");
  MergeCookies(running, "theme=deleted; lang=zh");
  EXPECT_EQ(running, "lang=zh; sid=2");
}

TEST(CookieMerge, CookieNameAndHasCookieNamed) {
  EXPECT_EQ(CookieName(" a = 1=2"), "a");
  EXPECT_EQ(CookieName(" flag "), "flag");
  EXPECT_EQ(CookieName(""), "");
  const TextArray items = {"a=1", "b"};
  EXPECT_TRUE(HasCookieNamed(items, "b"));
  EXPECT_FALSE(HasCookieNamed(items, "A"));
  EXPECT_FALSE(HasCookieNamed({}, ""));
}

TEST(ItemList, RemoveDuplicateItems) {
  struct Case {
    const char* text;
    const char* separator;
    bool split;
    const char* expected;
  };
  const Case cases[] = {
      {"a,b,a", ",", true, "a,b"},
      {"aba", ",", false, "a,b"},
      {"a; b; a; c", "; ", true, "a; b; c"},
      {"", ",", true, ""},
      {",,a", ",", true, ",a"},  // the empty item counts once
      {"\xD6\xD0"
       "a\xD6\xD0",
       "", false,
       "\xD6\xD0"
       "a"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RemoveDuplicateItems(c.text, c.separator, c.split), c.expected) << c.text;
}

TEST(ItemList, SplitCharacters) {
  TextArray characters = {"stale"};
  EXPECT_EQ(SplitCharacters("A\r\n\xD6\xD0"
                            "B",
                            &characters),
            4);
  EXPECT_EQ(characters, (TextArray{"A", "\r\n", "\xD6\xD0", "B"}));
  EXPECT_EQ(SplitCharacters("a\xD6", &characters), 2);
  EXPECT_EQ(characters, (TextArray{"a", "\xD6"}));
  EXPECT_EQ(SplitCharacters("\x80"
                            "a\r"),
            3);  // 0x80 is a one-byte character here
  EXPECT_EQ(SplitCharacters("", &characters), 0);
  EXPECT_TRUE(characters.empty());
}

TEST(ItemList, FindItem) {
  const TextArray items = {"a", "b", "a"};
  EXPECT_EQ(FindItem(items, "a"), 1);
  EXPECT_EQ(FindItem(items, "b"), 2);
  EXPECT_EQ(FindItem(items, "B"), -1);
  EXPECT_EQ(FindItem({}, ""), -1);
}

TEST(BoundCookiesTest, KeepsTheNewestWithinTheBounds) {
  const Text big(4000, 'v');
  const struct {
    Text cookies;
    Text kept;
  } cases[] = {
      {"a=1; b=2", "a=1; b=2"},
      {"", ""},
      {"a=1; b=\x01; c=3; d=\x7f", "a=1; c=3"},
      {"a=" + Text(4094, 'x') + "; b=" + Text(4095, 'x') + "; c=3", "a=" + Text(4094, 'x') + "; c=3"},
      // The Cookie header stays within its cap: the items least recently set go first.
      {"n=" + big + "; o=" + big + "; p=1", "n=" + big},
  };
  for (const auto& c : cases) EXPECT_EQ(BoundCookies(c.cookies), c.kept) << c.cookies.substr(0, 40);

  Text many;
  for (int i = 0; i < 400; ++i) many += (i ? "; c" : "c") + std::to_string(i) + "=1";
  const TextArray kept = SplitCookieItems(BoundCookies(many));
  ASSERT_EQ(kept.size(), kMaxCookiesPerSite);
  EXPECT_EQ(kept.front(), "c0=1");
}

TEST(MergeCookiesTest, StrayLeadByteDoesNotSwallowTheSeparator) {
  Text cookies = "city=\xD6; a=1";
  EXPECT_EQ(MergeCookies(cookies, "a=2"), "a=2; city=\xD6");
}

}  // namespace
}  // namespace zendra
