#include "json/json_object.h"

#include <algorithm>
#include <utility>

#include "json/json_library_script.h"
#include "json/script_string.h"
#include "platform/automation/com_init.h"
#include "platform/automation/factories.h"
#include "text/text_primitives.h"
#include "web/text_helpers.h"

namespace zendra {
namespace {

Variant Run(const ObjectRef<ScriptHost>& host, const Text& code) {
  return host.Call(&ScriptHost::Eval, code);
}

// A text read from a document ends at its first zero, as the program's texts do: a
// "\u0000" in an answer must not smuggle one into the middle of a file name or link.
Text EvalText(const ObjectRef<ScriptHost>& host, const Text& code) {
  Text text = Run(host, code).AsText();
  text.resize(std::min(text.size(), text.find('\0')));
  return text;
}

double EvalNumber(const ObjectRef<ScriptHost>& host, const Text& code) {
  return Run(host, code).AsNumber();
}

bool EvalBool(const ObjectRef<ScriptHost>& host, const Text& code) {
  return Run(host, code).AsBool();
}

// "[0]" is appended as it stands; a member path gets a dot.
Text BracketBase(const Text& name, const Text& path) {
  return !path.empty() && path.front() == '[' ? name + path : name + "." + path;
}

Text BracketOrDocumentBase(const Text& name, const std::optional<Text>& path) {
  return !path || path->empty() ? name : BracketBase(name, *path);
}

Text DotOrDocumentBase(const Text& name, const std::optional<Text>& path) {
  return !path || path->empty() ? name : name + "." + *path;
}

// A member path names no global of the host and evaluates to nothing, so it takes a dot;
// an index path such as "[0]" is an array literal with a text of its own.
Text EvaluationTestBase(const ObjectRef<ScriptHost>& host, const Text& name, const Text& path) {
  return EvalText(host, path).empty() ? name + "." + path : name + path;
}

// Quoted unless the caller hands in script source.
Text ValueSource(const Text& value, const std::optional<bool>& isExpression) {
  return isExpression.value_or(false) ? value : "'" + EscapeScriptString(value) + "'";
}

Text IndexText(std::int32_t index) { return ToText(index); }

// JSON text for moving a value into another host. Every character beyond ASCII travels as
// a \u escape: the program's code page cannot carry all of them (the backslash placeholder
// among them), and the receiving JSON reader restores each exactly.
Text PortableJson(const ObjectRef<ScriptHost>& host, const Text& expression) {
  return EvalText(host, "JSON.stringify(" + expression +
                            ").replace(/[\\u007f-\\uffff]/g, function (c) {return '\\\\u' + "
                            "(65536 + c.charCodeAt(0)).toString(16).slice(1)})");
}

}  // namespace

JsonObject::JsonObject() : variableName("da") { SetUp(); }

JsonObject::~JsonObject() { TearDown(); }

JsonObject::JsonObject(const JsonObject& other)
    : variableName(other.variableName), scriptHost(other.scriptHost) {
  // Every object uninitialises once when destroyed, so every object initialises once.
  CoInitialize();
}

JsonObject& JsonObject::operator=(const JsonObject& other) {
  variableName = other.variableName;
  scriptHost = other.scriptHost;
  return *this;
}

void JsonObject::SetUp() {
  static const bool libraryKept = (KeepCompiledForNewHosts(JsonLibraryScript()), true);
  static_cast<void>(libraryKept);
  CoInitialize();
  scriptHost = CreateScriptHost();
  scriptHost.Call(&ScriptHost::SetLanguage, Text("JavaScript"));
  scriptHost.Call(&ScriptHost::AddCode, JsonLibraryScript());
  Run(scriptHost, "var " + variableName + "={}");
  Run(scriptHost, "var g_regexp = String.fromCharCode(9216)");
  Run(scriptHost, "var g_reg = new RegExp(g_regexp, 'g')");
}

void JsonObject::TearDown() noexcept {
  scriptHost.Clear();
  CoUninitialize();
}

bool JsonObject::Parse(const Text& text) {
  // A new engine for every document, so nothing of the previous one survives. A hostless
  // object stays hostless.
  if (scriptHost) {
    TearDown();
    SetUp();
  }
  if (!scriptHost) return false;
  Run(scriptHost, "var " + variableName + "=null");
  // The site's answer is data: it reaches the engine as a string value read by the JSON
  // reader, so an answer that is script rather than JSON is refused, never run; and it is
  // never copied into source text, which would cost several times its size.
  const Text answer = "zendra_answer";
  if (scriptHost.Call(&ScriptHost::SetGlobalText, answer, text)) {
    scriptHost.Call(&ScriptHost::AddCode,
                    "var " + variableName + "=JSON.parse(" + answer + ");" + answer + "=null");
  }
  return EvalBool(scriptHost, "null !=" + variableName);
}

Text JsonObject::ToJsonText() const {
  Run(scriptHost, "var strScr = JSON.stringify(" + variableName + ")");
  return EvalText(scriptHost, "strScr.replace(g_reg, '\\\\')");
}

void JsonObject::SetValue(const Text& path, const Text& value, std::optional<bool> isExpression) {
  const Text base = EvaluationTestBase(scriptHost, variableName, path);
  if (isExpression.value_or(false)) {
    Run(scriptHost, base + " = eval(" + (value.empty() ? Text("{}") : value) + ")");
    return;
  }
  // Backslashes are kept as the placeholder, so that ToJsonText writes them unescaped.
  // When the value cannot be prepared, g_Str still holds an older value: write nothing.
  const bool prepared =
      scriptHost.Call(&ScriptHost::AddCode,
                      "var g_Str = '" + EscapeScriptString(value) + "'.replace(/\\\\/g, g_regexp)");
  if (prepared) Run(scriptHost, base + " = g_Str");
}

void JsonObject::SetExpression(const Text& path, const Text& expression) {
  Run(scriptHost, variableName + "." + path + "= eval(" + expression + ")");
}

void JsonObject::SetNumber(const Text& path, double number) {
  Run(scriptHost, variableName + "." + path + "=" + ToText(number));
}

double JsonObject::GetNumber(const Text& path) const {
  return EvalNumber(scriptHost, variableName + "." + path);
}

Text JsonObject::GetMemberJson(const Text& path) const {
  return EvalText(scriptHost, "JSON.stringify(" + variableName + "." + path + ")");
}

Text JsonObject::GetText(const Text& path, std::optional<bool> asJson) const {
  const Text base = BracketBase(variableName, path);
  if (asJson.value_or(false)) return EvalText(scriptHost, "JSON.stringify(" + base + ")");
  if (!scriptHost) return Text();
  if (GetValueType(path) == TypeNumber) return ToText(GetNumber(path));
  return EvalText(scriptHost, base);
}

JsonObject JsonObject::GetObject(const Text& path) const {
  JsonObject copy;
  copy.Parse(PortableJson(scriptHost, BracketBase(variableName, path)));
  return copy;
}

std::int32_t JsonObject::GetCount(std::optional<Text> path) const {
  const double count =
      EvalNumber(scriptHost, "get__count(" + BracketOrDocumentBase(variableName, path) + ")");
  // A value without members (null, missing, a number) would count as -2.
  return std::max(ToInteger(count), 0);
}

void JsonObject::PushValue(const Text& value, std::optional<Text> path,
                           std::optional<bool> isExpression) {
  const Text base = DotOrDocumentBase(variableName, path);
  Run(scriptHost, "if (Object.prototype.toString.call(" + base + ") != '[object Array]') { " +
                      base + "=new Array();} " + base + ".push(" +
                      ValueSource(value, isExpression) + ")");
}

JsonObject JsonObject::GetElementObject(std::int32_t index, std::optional<Text> path) const {
  JsonObject copy;
  copy.Parse(PortableJson(scriptHost,
                          DotOrDocumentBase(variableName, path) + "[" + IndexText(index) + "]"));
  return copy;
}

Text JsonObject::GetElementText(std::int32_t index, std::optional<Text> path,
                                std::optional<bool> asJson) const {
  const Text element = DotOrDocumentBase(variableName, path) + "[" + IndexText(index) + "]";
  if (asJson.value_or(false)) return EvalText(scriptHost, "JSON.stringify(" + element + ")");
  return EvalText(scriptHost, element);
}

void JsonObject::SetElement(std::int32_t index, const Text& value,
                            std::optional<bool> isExpression) {
  Run(scriptHost, variableName + "[" + IndexText(index) + "]=" + ValueSource(value, isExpression));
}

void JsonObject::RemoveElement(std::int32_t index) {
  Run(scriptHost, variableName + ".splice(" + IndexText(index) + ",1)");
}

void JsonObject::RemoveElementByPath(const Text& path) {
  const Text arrayPath = TextBefore(path, "[");
  const Text index = TextBetween(path, "[", "]");
  if (arrayPath.empty()) return;
  // The array is shortened in a copy of its own and written back whole.
  JsonObject shortened;
  if (!shortened.Parse(PortableJson(scriptHost, BracketBase(variableName, arrayPath))) ||
      shortened.GetValueType() != TypeArray)
    return;  // the path leads to no array: the document stays as it is
  shortened.RemoveElement(ToInteger(index));
  SetExpression(arrayPath, PortableJson(shortened.scriptHost, shortened.variableName));
}

void JsonObject::DeleteMember(const Text& path) {
  Run(scriptHost, "delete " + EvaluationTestBase(scriptHost, variableName, path));
}

void JsonObject::ResetToType(std::int32_t typeCode) {
  if (typeCode == TypeNull || typeCode == TypeObject)
    Run(scriptHost, "var " + variableName + "={}");
  else if (typeCode == TypeArray)
    Run(scriptHost, "var " + variableName + "=new Array()");
}

void JsonObject::SetDocument(const Text& value, std::optional<bool> isExpression) {
  Run(scriptHost, variableName + "=" + ValueSource(value, isExpression));
}

bool JsonObject::HasMember(const Text& path) const {
  return EvalBool(scriptHost, variableName + "." + path + " !=null");
}

std::int32_t JsonObject::GetMemberNames(TextArray& names, std::optional<Text> path) const {
  Text listing = EvalText(scriptHost, "var ary=''; for (var key in " +
                                          BracketOrDocumentBase(variableName, path) +
                                          ") {ary=ary+ key+','; }");
  // The library's two enumerable additions show up in every listing.
  listing = ReplaceText(listing, "toJSONString,", "", std::nullopt, std::nullopt, true);
  listing = ReplaceText(listing, "parseJSON,", "", std::nullopt, std::nullopt, true);
  Run(scriptHost, "ary=null");
  names = SplitText(listing, ",");
  return static_cast<std::int32_t>(names.size());
}

JsonValueType JsonObject::GetValueType(std::optional<Text> path) const {
  const Text base = DotOrDocumentBase(variableName, path);
  if (EvalBool(scriptHost, base + "==null")) return TypeNull;
  const Text kind = EvalText(scriptHost, "typeof (" + base + ")");
  if (kind == "string") return TypeString;
  if (kind == "object") {
    const Text json = EvalText(scriptHost, "JSON.stringify(" + base + ")");
    return !json.empty() && json.front() == '[' ? TypeArray : TypeObject;
  }
  if (kind == "number") return TypeNumber;
  if (kind == "boolean") return TypeBoolean;
  return TypeOther;
}

void JsonObject::Clear() { Run(scriptHost, variableName + "={}"); }

ObjectRef<ScriptHost> JsonObject::GetScriptHost() const { return scriptHost; }

}  // namespace zendra
