#include <gtest/gtest.h>

#include <string>

#include "platform/script/duktape_heap.h"
#include "platform/script/duktape_string.h"

namespace zendra {
namespace {

TEST(ScriptEngineTest, EngineStringsBecomeWellFormedUtf16) {
  const struct {
    std::string bytes;
    std::u16string expected;
  } cases[] = {
      {"abc", u"abc"},
      {"\xE4\xB8\xAD", u"\u4E2D"},
      // A pair encoded half by half, as the engine keeps it, and as one sequence.
      {"\xED\xA0\xBD\xED\xB8\x80", u"\U0001F600"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"a\xED\xA0\x80z", u"a\uFFFDz"},
      {"\xED\xB8\x80\xED\xA0\xBD", u"\uFFFD\uFFFD"},
      {"\xE4\xB8", u"\uFFFD\uFFFD"},
      {"\x80x", u"\uFFFDx"},
      {"\xFF", u"\uFFFD"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(DuktapeStringToUtf16(c.bytes), c.expected) << c.bytes;
}

duk_ret_t CallFatal(duk_context* context, void*) {
  duk_fatal(context, "test");
  return 0;
}

duk_ret_t PushAnswer(duk_context* context, void*) {
  duk_push_int(context, 42);
  return 1;
}

TEST(ScriptEngineTest, FatalErrorEndsOnlyTheHeap) {
  DuktapeHeap heap(std::size_t{8} << 20);
  ASSERT_TRUE(heap.IsAlive());
  EXPECT_GT(heap.BytesInUse(), 0u);
  EXPECT_EQ(heap.SafeCall(&PushAnswer, nullptr, 1), DUK_EXEC_SUCCESS);
  EXPECT_EQ(duk_get_int(heap.Context(), -1), 42);
  duk_pop(heap.Context());

  EXPECT_EQ(heap.SafeCall(&CallFatal, nullptr, 0), DUK_EXEC_ERROR);
  EXPECT_FALSE(heap.IsAlive());
  // The abandoned engine's memory went back at once.
  EXPECT_EQ(heap.BytesInUse(), 0u);
  EXPECT_EQ(heap.SafeCall(&PushAnswer, nullptr, 1), DUK_EXEC_ERROR);
}

TEST(ScriptEngineTest, TooSmallCeilingMeansNoHeap) {
  DuktapeHeap heap(1024);
  EXPECT_FALSE(heap.IsAlive());
  EXPECT_EQ(heap.SafeCall(&PushAnswer, nullptr, 1), DUK_EXEC_ERROR);
}

}  // namespace
}  // namespace zendra
