#pragma once

#include <cstdint>
#include <optional>

#include "json/json_value_type.h"
#include "platform/automation/object_ref.h"
#include "platform/script/script_host.h"
#include "platform/types.h"

namespace zendra {

// One JSON document held as the variable `variableName` of its own script host. Every
// operation evaluates a statement built from a fixed template; a path is script source
// appended to the variable ("result.FileName", "[0]"). Failures give empty results.
class JsonObject {
 public:
  JsonObject();
  ~JsonObject();
  // A copy shares the host, and so the document.
  JsonObject(const JsonObject& other);
  JsonObject& operator=(const JsonObject& other);

  // Replaces the host by a new one holding the JSON text; true unless the document is
  // null or undefined. Only JSON is accepted: nothing in the text is run.
  bool Parse(const Text& text);
  Text ToJsonText() const;
  void SetValue(const Text& path, const Text& value, std::optional<bool> isExpression = {});
  void SetExpression(const Text& path, const Text& expression);
  void SetNumber(const Text& path, double number);
  double GetNumber(const Text& path) const;
  Text GetMemberJson(const Text& path) const;
  Text GetText(const Text& path, std::optional<bool> asJson = {}) const;
  JsonObject GetObject(const Text& path) const;
  std::int32_t GetCount(std::optional<Text> path = {}) const;
  void PushValue(const Text& value, std::optional<Text> path = {},
                 std::optional<bool> isExpression = {});
  JsonObject GetElementObject(std::int32_t index, std::optional<Text> path = {}) const;
  Text GetElementText(std::int32_t index, std::optional<Text> path = {},
                      std::optional<bool> asJson = {}) const;
  void SetElement(std::int32_t index, const Text& value, std::optional<bool> isExpression = {});
  void RemoveElement(std::int32_t index);
  void RemoveElementByPath(const Text& path);
  void DeleteMember(const Text& path);
  void ResetToType(std::int32_t typeCode);
  void SetDocument(const Text& value, std::optional<bool> isExpression = {});
  bool HasMember(const Text& path) const;
  std::int32_t GetMemberNames(TextArray& names, std::optional<Text> path = {}) const;
  JsonValueType GetValueType(std::optional<Text> path = {}) const;
  void Clear();
  ObjectRef<ScriptHost> GetScriptHost() const;

 private:
  void SetUp();
  void TearDown() noexcept;

  Text variableName;
  ObjectRef<ScriptHost> scriptHost;
};

}  // namespace zendra
