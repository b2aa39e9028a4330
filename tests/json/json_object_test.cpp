#include "json/json_object.h"

#include <gtest/gtest.h>

#include "platform/automation/com_init.h"
#include "platform/automation/factories.h"
#include "platform/codepage/code_page.h"

namespace zendra {
namespace {

Variant Eval(const JsonObject& json, const Text& code) {
  return json.GetScriptHost().Call(&ScriptHost::Eval, code);
}

TEST(JsonObjectTest, ReadsTextsByPath) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(
      R"({"result":{"FileName":"zd_server_2019_x64_dvd.iso","size":4781506560,"half":1.5,)"
      R"("third":0.3333333333333333,"huge":1e21,"none":null,"list":[1,2],"name":"\u4e2d\u6587",)"
      R"("flag":true}})"));
  const struct {
    Text path;
    bool asJson;
    Text expected;
  } cases[] = {
      {"result.FileName", false, "zd_server_2019_x64_dvd.iso"},
      {"result.size", false, "4781506560"},
      {"result.half", false, "1.5"},
      {"result.third", false, "0.3333333333333"},
      {"result.huge", false, "1e+21"},
      {"result.none", false, ""},
      {"result.missing", false, ""},
      {"missing.deeper", false, ""},
      {"result.list", false, "1,2"},
      {"result.list", true, "[1,2]"},
      {"result.list[1]", false, "2"},
      {"result.name", false, Cp936FromUtf8("中文")},
      {"result.name", true, Cp936FromUtf8("\"中文\"")},
      {"result.missing", true, ""},
      {"result", true,
       R"({"FileName":"zd_server_2019_x64_dvd.iso","size":4781506560,"half":1.5,)"
       R"("third":0.3333333333333333,"huge":1e+21,"none":null,"list":[1,2],)" +
           Cp936FromUtf8(R"("name":"中文","flag":true})")},
  };
  for (const auto& c : cases) EXPECT_EQ(json.GetText(c.path, c.asJson), c.expected) << c.path;
  EXPECT_EQ(json.GetNumber("result.size"), 4781506560.0);
  EXPECT_EQ(json.GetNumber("result.FileName"), 0.0);
  EXPECT_EQ(json.GetNumber("result.missing"), 0.0);
}

TEST(JsonObjectTest, IndexPathsOnAnArrayDocument) {
  JsonObject json;
  ASSERT_TRUE(json.Parse("[0.25, \"x\"]"));
  // "[0]" is appended without a dot; the type test puts one in and fails, so the number
  // comes back in the automation layer's text form.
  EXPECT_EQ(json.GetText("[0]"), "0.25");
  EXPECT_EQ(json.GetText("[1]"), "x");
  EXPECT_EQ(json.GetValueType("[0]"), TypeOther);
}

TEST(JsonObjectTest, ParseAcceptsJsonTextOnly) {
  const struct {
    Text text;
    bool parsed;
    JsonValueType type;
  } cases[] = {
      {"", false, TypeNull},
      {"null", false, TypeNull},
      {R"({"result":{"FileName":"a")", false, TypeNull},
      {"{a:1}", false, TypeNull},
      {"[1,]", false, TypeNull},
      {"'text'", false, TypeNull},
      {"undefined", false, TypeNull},
      {"[]", true, TypeArray},
      {"0", true, TypeNumber},
      {"{}", true, TypeObject},
      {" \r\n {\"a\" : [true]} \n", true, TypeObject},
      {"false", true, TypeBoolean},
      // A JSON string is a string document, not script to run.
      {R"("undefinedName")", true, TypeString},
      {Text(50000, '[') + Text(50000, ']'), false, TypeNull},
  };
  JsonObject json;
  for (const auto& c : cases) {
    EXPECT_EQ(json.Parse(c.text), c.parsed) << c.text.substr(0, 40);
    EXPECT_EQ(json.GetValueType(), c.type) << c.text.substr(0, 40);
  }
}

TEST(JsonObjectTest, AnswerThatIsScriptNeverRuns) {
  const struct {
    Text answer;
    bool parsed;
  } cases[] = {
      {"(function(){ran=1;return {}})()", false},
      {"{\"a\":(ran=1)}", false},
      {"\");ran=1;//", false},
      {"');ran=1;('", false},
      {"\\\");ran=1;//", false},
      {"\"\n\");ran=1;//", false},
      // A stray lead byte in front of a quote must not swallow its escape.
      {"\x81\");ran=1;//", false},
      {"\x81\\\");ran=1;//", false},
      // Well-formed JSON strings whose content is script: data, never run.
      {"\");ran=1;(\"", true},
      {"\"this.ran = 1\"", true},
  };
  for (const auto& c : cases) {
    JsonObject json;
    EXPECT_EQ(json.Parse(c.answer), c.parsed) << c.answer;
    EXPECT_EQ(Eval(json, "typeof ran"), Variant(Text("undefined"))) << c.answer;
  }
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"("this.ran = 1")"));
  EXPECT_EQ(json.GetValueType(), TypeString);
  EXPECT_EQ(json.GetText("length"), "12");
}

TEST(JsonObjectTest, ValueTypes) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"s":"x","n":1,"b":true,"o":{},"a":[1],"z":null,"e":""})"));
  const struct {
    Text path;
    JsonValueType type;
  } cases[] = {
      {"s", TypeString},        {"e", TypeString},    {"n", TypeNumber},  {"b", TypeBoolean},
      {"o", TypeObject},        {"a", TypeArray},     {"z", TypeNull},    {"missing", TypeNull},
      {"missing.x", TypeOther}, {"a[0]", TypeNumber}, {"[0]", TypeOther}, {"", TypeObject},
  };
  for (const auto& c : cases) EXPECT_EQ(json.GetValueType(c.path), c.type) << c.path;
  EXPECT_EQ(json.GetValueType(), TypeObject);
  ASSERT_TRUE(json.Parse("[{}]"));
  EXPECT_EQ(json.GetValueType(), TypeArray);
  EXPECT_FALSE(json.Parse("nonsense"));
  EXPECT_EQ(json.GetValueType(), TypeNull);
}

TEST(JsonObjectTest, EachParseStartsFromANewEngine) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"first":1})"));
  const ObjectRef<ScriptHost> firstHost = json.GetScriptHost();
  Eval(json, "var leftover = 1");
  ASSERT_TRUE(json.Parse(R"({"second":2})"));
  EXPECT_FALSE(json.GetScriptHost() == firstHost);
  EXPECT_EQ(firstHost.UseCount(), 1);  // only this test still holds the old engine
  EXPECT_EQ(json.GetText("first"), "");
  EXPECT_EQ(json.GetText("second"), "2");
  EXPECT_EQ(Eval(json, "typeof leftover"), Variant(Text("undefined")));
}

TEST(JsonObjectTest, HostlessObjectGivesEmptyResults) {
  const int before = AutomationInitCount();
  {
    ScopedFactory<ScriptHost> failing([] { return ObjectRef<ScriptHost>(); });
    JsonObject json;
    EXPECT_TRUE(json.GetScriptHost().IsEmpty());
    EXPECT_FALSE(json.Parse("{\"a\":1}"));
    EXPECT_TRUE(json.GetScriptHost().IsEmpty());
    EXPECT_EQ(json.GetText("a"), "");
    EXPECT_EQ(json.GetText("a", true), "");
    EXPECT_EQ(json.GetValueType(), TypeOther);
    EXPECT_EQ(json.GetValueType("a"), TypeOther);
    EXPECT_EQ(json.GetNumber("a"), 0.0);
    EXPECT_EQ(json.ToJsonText(), "");
    EXPECT_EQ(json.GetCount(), 0);
    EXPECT_FALSE(json.HasMember("a"));
    TextArray names{"old"};
    EXPECT_EQ(json.GetMemberNames(names), 0);
    EXPECT_TRUE(names.empty());
    json.SetValue("a", "1");
    json.RemoveElementByPath("a[0]");
    EXPECT_TRUE(json.GetObject("a").GetScriptHost().IsEmpty());
  }
  EXPECT_EQ(AutomationInitCount(), before);
}

TEST(JsonObjectTest, InitialisationCountStaysBalanced) {
  const int before = AutomationInitCount();
  {
    JsonObject json;
    EXPECT_EQ(AutomationInitCount(), before + 1);
    json.Parse("{\"a\":{\"b\":[1,2]}}");
    json.Parse("{\"a\":{\"b\":[1,2]}}");
    EXPECT_EQ(AutomationInitCount(), before + 1);
    JsonObject copy = json;
    JsonObject part = json.GetObject("a");
    JsonObject element = json.GetElementObject(0, Text("a.b"));
    json.RemoveElementByPath("a.b[0]");
    EXPECT_EQ(AutomationInitCount(), before + 4);
    part = copy;
    EXPECT_EQ(AutomationInitCount(), before + 4);
  }
  EXPECT_EQ(AutomationInitCount(), before);
}

TEST(JsonObjectTest, CopiesShareOneDocument) {
  JsonObject json;
  {
    JsonObject copy = json;
    copy.SetValue("shared", "yes");
    EXPECT_EQ(copy.GetScriptHost(), json.GetScriptHost());
  }
  // The copy's end leaves the original's engine working.
  EXPECT_EQ(json.GetText("shared"), "yes");
  JsonObject other;
  other = json;
  other.SetNumber("n", 2);
  EXPECT_EQ(json.GetText("n"), "2");
}

TEST(JsonObjectTest, TextsEndAtAZeroCharacter) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"name":"safe.iso\u0000tail","list":["a\u0000b"]})"));
  EXPECT_EQ(json.GetText("name"), "safe.iso");
  EXPECT_EQ(json.GetText("list[0]"), "a");
}

TEST(JsonObjectTest, LongAnswerIsReadAsData) {
  // A text far longer than any source the engine would want to compile.
  const Text name(8u << 20, 'n');
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"name":")" + name + R"("})"));
  EXPECT_EQ(json.GetText("name"), name);
  EXPECT_FALSE(json.Parse(R"({"name":")" + name + "\x01\"}"));
}

}  // namespace
}  // namespace zendra
