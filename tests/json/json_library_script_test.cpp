#include "json/json_library_script.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/script/duktape_script_host.h"

namespace zendra {
namespace {

Variant Eval(const ObjectRef<ScriptHost>& host, const Text& code) {
  return host.Call(&ScriptHost::Eval, code);
}

// A host with the library loaded; `before` runs first, to take things away from the engine.
ObjectRef<ScriptHost> HostWithLibrary(const Text& before = Text()) {
  ObjectRef<ScriptHost> host = MakeDuktapeScriptHost();
  host.Call(&ScriptHost::SetLanguage, Text("JavaScript"));
  if (!before.empty()) {
    EXPECT_TRUE(host.Call(&ScriptHost::AddCode, before));
  }
  EXPECT_TRUE(host.Call(&ScriptHost::AddCode, JsonLibraryScript()));
  return host;
}

TEST(JsonLibraryScriptTest, TextHoldsTheCountAndTheAdditions) {
  const Text& script = JsonLibraryScript();
  EXPECT_EQ(script.rfind("function get__count(c){var i=-2;for(v in c)i++;return i}", 0), 0u);
  EXPECT_NE(script.find("if(!Object.prototype.toJSONString){Object.prototype.toJSONString="
                        "function(filter){return JSON.stringify(this,filter)};Object.prototype."
                        "parseJSON=function(filter){return JSON.parse(this,filter)}}"),
            Text::npos);
  EXPECT_TRUE(std::all_of(script.begin(), script.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

TEST(JsonLibraryScriptTest, KeepsNativeJsonAndAddsEnumerableMethods) {
  const auto host =
      HostWithLibrary("var nativeStringify = JSON.stringify, nativeParse = JSON.parse");
  EXPECT_EQ(Eval(host, "JSON.stringify === nativeStringify && JSON.parse === nativeParse"),
            Variant(true));
  const struct {
    Text code;
    Variant expected;
  } cases[] = {
      {"var names = []; for (var k in {}) names.push(k); names.join()",
       Variant(Text("toJSONString,parseJSON"))},
      {"get__count({a: 1, b: 2})", Variant(2.0)},
      {"get__count([1, 2, 3])", Variant(3.0)},
      {"get__count({})", Variant(0.0)},
      {"v", Variant(Text("parseJSON"))},  // the count's loop variable stays behind, global
      {"({a: [1]}).toJSONString()", Variant(Text("{\"a\":[1]}"))},
      {"'[1,2]'.parseJSON()[1]", Variant(2.0)},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(host, c.code), c.expected) << c.code;
}

// The fallback serves engines without JSON: it must agree with a native implementation.
TEST(JsonLibraryScriptTest, FallbackAgreesWithNativeJson) {
  const auto native = HostWithLibrary();
  const auto fallback = HostWithLibrary("JSON = undefined; delete Date.prototype.toJSON");
  ASSERT_EQ(Eval(fallback, "typeof JSON.stringify + typeof JSON.parse"),
            Variant(Text("functionfunction")));
  ASSERT_EQ(Eval(fallback, "typeof Date.prototype.toJSON"), Variant(Text("function")));
  const Text expressions[] = {
      R"js(JSON.stringify({a: [1, 'x', null, true, false], b: {c: 'q"\\\n\r\t\b\f\u0001\u001f'},
           d: undefined, e: function () {}, f: -0, g: 1e21, h: NaN, i: -Infinity, j: 0.1})js",
      R"js(JSON.stringify([undefined, function () {}, {}, []]))js",
      R"js(JSON.stringify('s') + JSON.stringify(5) + JSON.stringify(null))js",
      R"js(JSON.stringify(undefined))js",
      R"js(JSON.stringify({a: 1, b: [1, {c: []}], d: {}}, null, 2))js",
      R"js(JSON.stringify({a: [1]}, null, '--'))js",
      R"js(JSON.stringify({a: 1, b: 2, c: 3}, ['a', 'c']))js",
      R"js(JSON.stringify({a: 1, b: 'x'}, function (k, v) { return typeof v === 'number' ? v * 2 : v; }))js",
      R"js(JSON.stringify([new String('s'), new Number(2), new Boolean(false)]))js",
      R"js(JSON.stringify({t: {toJSON: function (key) { return 'T' + key; }}}))js",
      R"js(var cyclic = {}; cyclic.self = cyclic; JSON.stringify(cyclic))js",
      R"js(JSON.stringify(JSON.parse(' {"a" : [1, -2.5e3, "\\u4e2d\\n\\"\\/", true, false, null, {}], "b":""} ')))js",
      R"js(JSON.parse('"x"') + JSON.parse(' 0 ') + JSON.parse('[1e2]')[0])js",
      R"js(JSON.stringify(JSON.parse('{"a":1,"b":[2],"c":3}', function (k, v) {
           return k === 'c' ? undefined : typeof v === 'number' ? v + 1 : v; })))js",
      R"js(JSON.stringify(JSON.parse('{"__proto__": {"x": 1}}')))js",
      R"js(JSON.parse('[1,]'))js",
      R"js(JSON.parse('{a:1}'))js",
      R"js(JSON.parse('01'))js",
      R"js(JSON.parse('"\t"'))js",
      R"js(JSON.parse('"\\x41"'))js",
      R"js(JSON.parse(''))js",
      R"js(JSON.parse('1 2'))js",
      R"js(JSON.parse('[1'))js",
      R"js(JSON.parse('(function () { return 1; })()'))js",
      R"js(JSON.parse('tru'))js",
  };
  for (const Text& code : expressions) EXPECT_EQ(Eval(fallback, code), Eval(native, code)) << code;
  EXPECT_EQ(Eval(fallback, "JSON.stringify(new Date(0))"),
            Variant(Text("\"1970-01-01T00:00:00Z\"")));
}

}  // namespace
}  // namespace zendra
