#include "web/header_names.h"

#include <gtest/gtest.h>

namespace zendra {
namespace {

TEST(HeaderNames, NormaliseHeaderBlock) {
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"user-agent: x", "User-Agent: x"},
      {"content-TYPE: y", "Content-TYPE: y"},
      {"accept:text/html", "Accept:text/html"},
      {"\r\nAccept: */*\r\nreferer: http://a/b", "Accept: */*\r\nReferer: http://a/b"},
      {"a: 1\r\njunk\r\nb: 2", "A: 1\r\nB: 2"},
      {" accept: x", " accept: x"},
      {"x-: 1", "X: 1"},
      {"x--y: 1", "X--Y: 1"},
      {"-x: 1", "-X: 1"},
      {"a: 1\r\n", "A: 1"},
      {"a: one-two: three", "A: one-two: three"},  // values and later colons untouched
      {"no colon at all", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseHeaderBlock(c.input), c.expected) << c.input;
}

TEST(HeaderNames, CapitaliseFirst) {
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"abc", "Abc"}, {"Abc", "Abc"}, {"1bc", "1bc"}, {"", ""}, {"\xE4x", "\xE4x"}};
  for (const auto& c : cases) EXPECT_EQ(CapitaliseFirst(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace zendra
