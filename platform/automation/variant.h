#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

#include "platform/automation/object_ref.h"
#include "platform/types.h"

namespace zendra {

// An automation value: empty, integer, double, boolean, text, bytes or object.
// Conversions between kinds follow the platform's value conversion; the Try* forms
// give nothing when a conversion fails, the As* forms the empty value of the kind.
class Variant {
 public:
  enum class Kind { Empty, Integer, Double, Boolean, Text, Bytes, Object };

  Variant() noexcept = default;
  Variant(std::int32_t value) noexcept : value_(value) {}
  Variant(double value) noexcept : value_(value) {}
  Variant(bool value) noexcept : value_(value) {}
  Variant(Text value) noexcept : value_(std::move(value)) {}
  Variant(const char* value) : value_(Text(value)) {}
  Variant(Bytes value) noexcept : value_(std::move(value)) {}
  template <class T>
  Variant(const ObjectRef<T>& object) noexcept
      : value_(std::static_pointer_cast<AutomationObject>(object.Shared())) {
    if (!std::get<Object>(value_)) value_ = std::monostate{};
  }

  Kind GetKind() const noexcept { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const noexcept { return GetKind() == Kind::Empty; }
  void Clear() noexcept { value_ = std::monostate{}; }

  std::optional<Text> TryText() const;
  std::optional<double> TryNumber() const noexcept;
  std::optional<bool> TryBool() const noexcept;
  std::optional<Bytes> TryBytes() const;

  Text AsText() const { return TryText().value_or(Text()); }
  double AsNumber() const noexcept { return TryNumber().value_or(0.0); }
  bool AsBool() const noexcept { return TryBool().value_or(false); }
  Bytes AsBytes() const { return TryBytes().value_or(Bytes()); }

  // The object, when this holds one of type T; an empty reference otherwise.
  template <class T>
  ObjectRef<T> AsObject() const noexcept {
    if (const auto* object = std::get_if<Object>(&value_))
      return ObjectRef<T>(std::dynamic_pointer_cast<T>(*object));
    return ObjectRef<T>();
  }

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  using Object = std::shared_ptr<AutomationObject>;
  std::variant<std::monostate, std::int32_t, double, bool, Text, Bytes, Object> value_;
};

}  // namespace zendra
