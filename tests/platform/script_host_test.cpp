#include <gtest/gtest.h>

#include <optional>

#include "platform/automation/variant.h"
#include "platform/codepage/code_page.h"
#include "platform/script/duktape_script_host.h"

namespace zendra {
namespace {

ObjectRef<ScriptHost> NewJavaScriptHost(std::size_t ceiling = kScriptMemoryCeiling) {
  ObjectRef<ScriptHost> host = MakeDuktapeScriptHostWithCeiling(ceiling);
  EXPECT_TRUE(host.Call(&ScriptHost::SetLanguage, Text("JavaScript")));
  return host;
}

Variant Eval(const ObjectRef<ScriptHost>& host, const Text& code) {
  return host.Call(&ScriptHost::Eval, code);
}

TEST(ScriptHostTest, EvalGivesTheCompletionValue) {
  const auto host = NewJavaScriptHost();
  const struct {
    Text code;
    Variant expected;
  } cases[] = {
      {"1+1", Variant(2.0)},
      {"4781506560", Variant(4781506560.0)},
      {"'abc'", Variant(Text("abc"))},
      {"true", Variant(true)},
      {"var x = 5; x * 2", Variant(10.0)},
      {"var s = 0; for (var i = 0; i < 4; i++) { s = s + i; }", Variant(6.0)},
      {"if (1) { 'then' } else { 'else' }", Variant(Text("then"))},
      {"undefined", Variant()},
      {"null", Variant()},
      {"var unused = 1", Variant()},
      // Other values come back as the script's own string conversion.
      {"[1, 2]", Variant(Text("1,2"))},
      {"({})", Variant(Text("[object Object]"))},
      {"({toString: function () { return 'mine'; }})", Variant(Text("mine"))},
      {"'a\\u0000b'", Variant(Text("a\0b", 3))},
      {"String.fromCharCode(0x4e2d, 0x6587)", Variant(Cp936FromUtf8("中文"))},
      // What code page 936 cannot hold, surrogates alone or in pairs, becomes "?".
      {"'\\ud83d\\ude00'", Variant(Text("?"))},
      {"'x\\ud800y'", Variant(Text("x?y"))},
      {"'\\udc00'", Variant(Text("?"))},
      {"String.fromCharCode(9216)", Variant(Text("?"))},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(host, c.code), c.expected) << c.code;
}

TEST(ScriptHostTest, TextCrossesInCodePage936) {
  const auto host = NewJavaScriptHost();
  const Text name = Cp936FromUtf8("名字");
  Eval(host, "var word = '" + name + "'");
  EXPECT_EQ(Eval(host, "word.length"), Variant(2.0));
  EXPECT_EQ(Eval(host, "word.charCodeAt(0)"), Variant(double{0x540D}));
  EXPECT_EQ(Eval(host, "word"), Variant(name));
}

TEST(ScriptHostTest, ErrorsGiveTheEmptyValue) {
  const auto host = NewJavaScriptHost();
  const Text failing[] = {
      "1 +",
      "throw 1",
      "undefinedName",
      "null.member",
      "({toString: function () { throw new Error('no'); }})",
      "(function f() { return 1 + f(); })()",
      "'\\",
  };
  for (const Text& code : failing) EXPECT_TRUE(Eval(host, code).IsEmpty()) << code;
  // The host goes on working after each of them.
  EXPECT_EQ(Eval(host, "2*3"), Variant(6.0));
}

TEST(ScriptHostTest, DeclarationsPersistBetweenCalls) {
  const auto host = NewJavaScriptHost();
  EXPECT_TRUE(
      host.Call(&ScriptHost::AddCode, Text("function twice(n) { return 2 * n; } var base = 4")));
  Eval(host, "var more = base + 1");
  Eval(host, "implicit = 3");
  EXPECT_EQ(Eval(host, "twice(more) + implicit"), Variant(13.0));
  EXPECT_FALSE(host.Call(&ScriptHost::AddCode, Text("function (")));
  EXPECT_FALSE(host.Call(&ScriptHost::AddCode, Text("throw new Error('x')")));

  // Each host has its own globals.
  const auto other = NewJavaScriptHost();
  EXPECT_EQ(Eval(other, "typeof base"), Variant(Text("undefined")));
}

TEST(ScriptHostTest, LongScriptsLoadedFromBytecodeBehaveTheSame) {
  // Long enough to be compiled once and loaded by every later host.
  const Text padding = "/*" + Text(2048, '.') + "*/\n";
  const Text library =
      padding + "function triple(n) { return 3 * n; } var seed = triple(2); counter = 1;";
  const Text throwing = padding + "var partial = 1; throw new Error('at run time');";
  const Text broken = padding + "function (";
  for (int round = 0; round < 3; ++round) {
    const auto host = NewJavaScriptHost();
    EXPECT_TRUE(host.Call(&ScriptHost::AddCode, library)) << round;
    EXPECT_EQ(Eval(host, "triple(seed) + counter"), Variant(19.0)) << round;
    EXPECT_FALSE(host.Call(&ScriptHost::AddCode, throwing)) << round;
    EXPECT_EQ(Eval(host, "partial"), Variant(1.0)) << round;
    EXPECT_FALSE(host.Call(&ScriptHost::AddCode, broken)) << round;
    EXPECT_EQ(Eval(host, "seed"), Variant(6.0)) << round;
  }
}

TEST(ScriptHostTest, OnlyJavaScriptIsSpoken) {
  const auto host = MakeDuktapeScriptHost();
  ASSERT_FALSE(host.IsEmpty());
  // Nothing runs before a language is chosen.
  EXPECT_TRUE(Eval(host, "1").IsEmpty());
  EXPECT_FALSE(host.Call(&ScriptHost::AddCode, Text("var a = 1")));
  EXPECT_FALSE(host.Call(&ScriptHost::SetLanguage, Text("VBScript")));
  EXPECT_FALSE(host.Call(&ScriptHost::SetLanguage, Text("")));
  EXPECT_TRUE(host.Call(&ScriptHost::SetLanguage, Text("javascript")));
  EXPECT_EQ(Eval(host, "1"), Variant(1.0));
}

TEST(ScriptHostTest, MemoryCeilingEndsTheScriptNotTheProcess) {
  const auto host = NewJavaScriptHost(std::size_t{16} << 20);
  const Text greedy =
      "(function () { var a = []; for (var i = 0;; i++) a.push('a moderately long text ' + i); "
      "})()";
  EXPECT_TRUE(Eval(host, greedy).IsEmpty());
  EXPECT_FALSE(host.Call(&ScriptHost::AddCode, greedy));
  const Text longString = "var s = 'x'; for (;;) s = s + s; s.length";
  EXPECT_TRUE(Eval(host, longString).IsEmpty());
  // What the failed scripts held is collectable; the host still works.
  EXPECT_EQ(Eval(host, "new Array(1000).join('y').length"), Variant(999.0));
}

TEST(ScriptHostTest, DeepNestingFailsCleanly) {
  const auto host = NewJavaScriptHost();
  const Text deepSource = Text(100000, '[') + Text(100000, ']');
  EXPECT_TRUE(Eval(host, deepSource).IsEmpty());
  const Text deepJson = "JSON.parse('" + Text(100000, '[') + Text(100000, ']') + "')";
  EXPECT_TRUE(Eval(host, deepJson).IsEmpty());
  EXPECT_EQ(Eval(host, "1"), Variant(1.0));
}

}  // namespace
}  // namespace zendra
