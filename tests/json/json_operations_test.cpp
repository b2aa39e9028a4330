#include <gtest/gtest.h>

#include "json/json_object.h"
#include "platform/codepage/code_page.h"

namespace zendra {
namespace {

JsonObject Document(const Text& text) {
  JsonObject json;
  EXPECT_TRUE(json.Parse(text)) << text;
  return json;
}

TEST(JsonOperationsTest, ResetAndClearReplaceTheDocument) {
  JsonObject json;
  EXPECT_EQ(json.ToJsonText(), "{}");
  json.ResetToType(TypeArray);
  EXPECT_EQ(json.ToJsonText(), "[]");
  json.ResetToType(TypeNumber);
  EXPECT_EQ(json.ToJsonText(), "[]");
  json.ResetToType(TypeNull);
  EXPECT_EQ(json.ToJsonText(), "{}");
  json.SetDocument("[1]", true);
  json.ResetToType(TypeObject);
  EXPECT_EQ(json.ToJsonText(), "{}");
  json.SetDocument("[1]", true);
  json.Clear();
  EXPECT_EQ(json.ToJsonText(), "{}");
}

TEST(JsonOperationsTest, SetValueStoresExactlyTheTextGiven) {
  const struct {
    Text value;
    Text json;
  } cases[] = {
      {"plain", R"({"name":"plain"})"},
      {"a\"b\r\nc\td", R"({"name":"a\"b\r\nc\td"})"},
      {"it's", R"({"name":"it's"})"},
      {"x'; da.hacked = 1; '", R"({"name":"x'; da.hacked = 1; '"})"},
      {"\x81'; da.hacked = 1; '", R"({"name":"?'; da.hacked = 1; '"})"},
      {Cp936FromUtf8("表示"), Cp936FromUtf8(R"({"name":"表示"})")},
      {"", R"({"name":""})"},
  };
  for (const auto& c : cases) {
    JsonObject json;
    json.SetValue("name", c.value);
    EXPECT_EQ(json.ToJsonText(), c.json) << c.value;
    EXPECT_FALSE(json.HasMember("hacked")) << c.value;
  }
}

TEST(JsonOperationsTest, BackslashesReachTheJsonTextUnescaped) {
  JsonObject json;
  json.SetValue("code", "\\u4e2d");
  json.SetValue("path", "C:\\dir");
  EXPECT_EQ(json.ToJsonText(), R"({"code":"\u4e2d","path":"C:\dir"})");
  // A ready-made escape reads back as its character.
  JsonObject escaped;
  escaped.SetValue("code", "\\u4e2d");
  JsonObject reread = Document(escaped.ToJsonText());
  EXPECT_EQ(reread.GetText("code"), Cp936FromUtf8("中"));
  // Copies into other engines keep the placeholder.
  EXPECT_EQ(json.GetObject("path").ToJsonText(), R"("C:\dir")");
  json.SetExpression("list", "[]");
  json.PushValue("first", Text("list"));
  json.SetValue("list[1]", "a\\b");
  json.PushValue("third", Text("list"));
  json.RemoveElementByPath("list[0]");
  EXPECT_EQ(json.ToJsonText(), R"({"code":"\u4e2d","path":"C:\dir","list":["a\b","third"]})");
}

TEST(JsonOperationsTest, SetValueReachesMembersAndIndexes) {
  JsonObject json = Document(R"({"a":{"b":1},"list":["x","y"]})");
  json.SetValue("a.b", "two");
  json.SetValue("a.c", "{\"k\":[1]}", true);
  json.SetValue("a.d", "", true);
  json.SetValue("missing.name", "lost");
  EXPECT_EQ(json.ToJsonText(), R"({"a":{"b":"two","c":{"k":[1]},"d":{}},"list":["x","y"]})");

  JsonObject array = Document(R"(["x","y"])");
  array.SetValue("[0]", "first");
  EXPECT_EQ(array.ToJsonText(), R"(["first","y"])");
}

TEST(JsonOperationsTest, NumbersAndExpressions) {
  JsonObject json;
  json.SetNumber("third", 1.0 / 3);
  json.SetNumber("big", 4781506560.0);
  json.SetExpression("list", "[1, 2, 3]");
  json.SetExpression("sum", "1 + 2");
  EXPECT_EQ(json.ToJsonText(),
            R"({"third":0.3333333333333,"big":4781506560,"list":[1,2,3],"sum":3})");
  EXPECT_EQ(json.GetText("third"), "0.3333333333333");
  EXPECT_EQ(json.GetMemberJson("list"), "[1,2,3]");
  EXPECT_EQ(json.GetMemberJson("missing"), "");
}

TEST(JsonOperationsTest, CountsAndMemberNames) {
  JsonObject json = Document(R"({"a":1,"b":{"x":null,"y":[]},"list":[5,6,7],"s":"text","z":null,)"
                             R"("odd":{"x,y":1,"atoJSONString,b":2,"":3}})");
  const struct {
    std::optional<Text> path;
    std::int32_t count;
    TextArray names;
  } cases[] = {
      {std::nullopt, 6, {"a", "b", "list", "s", "z", "odd"}},
      {Text("b"), 2, {"x", "y"}},
      {Text("list"), 3, {"0", "1", "2"}},
      {Text("b.y"), 0, {}},
      {Text("z"), 0, {}},
      {Text("missing"), 0, {}},
      // Names holding a comma or a library name come out cut: the listing is one text.
      {Text("odd"), 3, {"x", "y", "ab", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(json.GetCount(c.path), c.count) << c.path.value_or("(document)");
    TextArray names{"stale"};
    EXPECT_EQ(json.GetMemberNames(names, c.path), static_cast<std::int32_t>(c.names.size()));
    EXPECT_EQ(names, c.names) << c.path.value_or("(document)");
  }
  // Scratch variables stay behind, "ary" is cleared.
  EXPECT_EQ(json.GetScriptHost().Call(&ScriptHost::Eval, Text("ary")), Variant());
}

TEST(JsonOperationsTest, ArraysGrowAndShrink) {
  JsonObject json = Document(R"({"s":"text","list":[1,2,3]})");
  json.PushValue("v", Text("s"));
  json.PushValue("it's", Text("list"));
  json.PushValue("{\"k\":true}", Text("list"), true);
  json.PushValue("new", Text("created"));
  EXPECT_EQ(json.ToJsonText(), R"({"s":["v"],"list":[1,2,3,"it's",{"k":true}],"created":["new"]})");
  json.RemoveElementByPath("list[1]");
  EXPECT_EQ(json.GetMemberJson("list"), R"([1,3,"it's",{"k":true}])");
  json.RemoveElementByPath("list[9]");
  EXPECT_EQ(json.GetMemberJson("list"), R"([1,3,"it's",{"k":true}])");

  JsonObject array;
  array.ResetToType(TypeArray);
  array.PushValue("a");
  array.PushValue("2", std::nullopt, true);
  array.SetElement(2, "c'");
  array.SetElement(3, "[4]", true);
  EXPECT_EQ(array.ToJsonText(), R"(["a",2,"c'",[4]])");
  array.RemoveElement(0);
  EXPECT_EQ(array.ToJsonText(), R"([2,"c'",[4]])");
}

TEST(JsonOperationsTest, RemoveElementByPathLeavesNonArraysAlone) {
  const Text text = R"({"obj":{"0":"a"},"s":"[1]","n":5,"list":[1,2]})";
  const Text paths[] = {"obj[0]", "s[0]", "n[0]", "missing[0]", "list", "[0]", "", "obj.x[0]"};
  for (const Text& path : paths) {
    JsonObject json = Document(text);
    json.RemoveElementByPath(path);
    EXPECT_EQ(json.ToJsonText(), text) << path;
  }
  JsonObject array = Document(R"({"a":1})");
  array.RemoveElement(0);
  EXPECT_EQ(array.ToJsonText(), R"({"a":1})");
}

// Element texts are the script's own number conversion; member texts keep 13 digits.
TEST(JsonOperationsTest, NumbersReadBackAsText) {
  const struct {
    const char* source;  // script source of the value
    const char* element;
    const char* member;
  } cases[] = {
      {"1e21", "1e+21", "1e+21"},
      {"1e-7", "1e-7", "1e-07"},
      {"0.1+0.2", "0.30000000000000004", "0.3"},
      {"-0", "0", "-0"},
      {"1e400", "Infinity", "inf"},
      {"-1e400", "-Infinity", "-inf"},
      {"123456789012345680000", "123456789012345680000", "1.234567890123e+20"},
      {"4781506560", "4781506560", "4781506560"},
      {"1/3", "0.3333333333333333", "0.3333333333333"},
      {"5e-324", "5e-324", "4.940656458412e-324"},
  };
  for (const auto& c : cases) {
    JsonObject json;
    json.SetDocument(std::string("{\"list\":[") + c.source + "]}", true);
    json.SetExpression("value", c.source);
    EXPECT_EQ(json.GetElementText(0, Text("list")), c.element) << c.source;
    EXPECT_EQ(json.GetText("list[0]"), c.member) << c.source;
    EXPECT_EQ(json.GetText("value"), c.member) << c.source;
  }
  JsonObject array = Document("[1e21, 1e-7]");
  EXPECT_EQ(array.GetText("[0]"), "1e+21");
  EXPECT_EQ(array.GetText("[1]"), "1e-7");
  EXPECT_EQ(array.GetElementText(1), "1e-7");
  EXPECT_EQ(Document("[0]").GetElementText(0), "0");
  JsonObject notANumber;
  notANumber.SetDocument("[0/0]", true);
  EXPECT_EQ(notANumber.GetElementText(0), "NaN");
}

TEST(JsonOperationsTest, ElementsAndMembersAsCopies) {
  JsonObject json = Document(R"({"list":[0.5,{"k":"v"},"text"],"o":{"p":[1]},"e":"\ud83d\ude00"})");
  EXPECT_EQ(json.GetElementText(0, Text("list")), "0.5");
  EXPECT_EQ(json.GetElementText(1, Text("list"), true), R"({"k":"v"})");
  EXPECT_EQ(json.GetElementText(2, Text("list")), "text");
  EXPECT_EQ(json.GetElementText(7, Text("list")), "");

  JsonObject element = json.GetElementObject(1, Text("list"));
  element.SetValue("k", "changed");
  EXPECT_EQ(element.ToJsonText(), R"({"k":"changed"})");
  EXPECT_EQ(json.GetElementText(1, Text("list"), true), R"({"k":"v"})");

  JsonObject member = json.GetObject("o");
  EXPECT_EQ(member.ToJsonText(), R"({"p":[1]})");
  EXPECT_NE(member.GetScriptHost(), json.GetScriptHost());
  // A string member becomes a string document, not script.
  EXPECT_EQ(json.GetElementObject(2, Text("list")).GetValueType(), TypeString);
  EXPECT_EQ(json.GetObject("missing").GetValueType(), TypeNull);
  // Characters beyond code page 936 survive the copy into the new engine.
  JsonObject outside = json.GetObject("e");
  EXPECT_EQ(
      outside.GetScriptHost().Call(&ScriptHost::Eval, Text("da.charCodeAt(0) + da.charCodeAt(1)")),
      Variant(double{0xD83D + 0xDE00}));
}

TEST(JsonOperationsTest, MembersExistDeleteAndDocuments) {
  JsonObject json = Document(R"({"a":1,"z":null,"b":{"c":2}})");
  EXPECT_TRUE(json.HasMember("a"));
  EXPECT_TRUE(json.HasMember("b.c"));
  EXPECT_FALSE(json.HasMember("z"));
  EXPECT_FALSE(json.HasMember("missing"));
  json.DeleteMember("missing");
  json.DeleteMember("b.c");
  json.DeleteMember("a");
  EXPECT_EQ(json.ToJsonText(), R"({"z":null,"b":{}})");

  json.SetDocument("it's \"quoted\"");
  EXPECT_EQ(json.ToJsonText(), R"("it's \"quoted\"")");
  json.SetDocument("{\"x\":[true]}", true);
  EXPECT_EQ(json.ToJsonText(), R"({"x":[true]})");
  EXPECT_EQ(json.GetScriptHost().UseCount(), 2);
}

}  // namespace
}  // namespace zendra
