#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace zendra {

// Base of every component reachable through the automation layer, so that a
// Variant can carry any of them.
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
};

// A shared, nullable reference to a component. Copying shares the object; an empty
// reference stands for a failed creation. Call() applies the failure rule: a call on
// an empty reference, or one that throws, yields the empty value of its result kind.
template <class T>
class ObjectRef {
 public:
  ObjectRef() noexcept = default;
  ObjectRef(std::nullptr_t) noexcept {}
  explicit ObjectRef(std::shared_ptr<T> object) noexcept : object_(std::move(object)) {}

  template <class U>
    requires std::is_convertible_v<U*, T*>
  ObjectRef(const ObjectRef<U>& other) noexcept : object_(other.Shared()) {}

  bool IsEmpty() const noexcept { return object_ == nullptr; }
  explicit operator bool() const noexcept { return object_ != nullptr; }
  void Clear() noexcept { object_.reset(); }

  const std::shared_ptr<T>& Shared() const noexcept { return object_; }
  T* Get() const noexcept { return object_.get(); }

  // How many references share the object (0 when empty); tests use it to see releases.
  long UseCount() const noexcept { return object_.use_count(); }

  template <class Member, class... Args>
  auto Call(Member member, Args&&... args) const noexcept
      -> std::invoke_result_t<Member, T&, Args...> {
    using Result = std::invoke_result_t<Member, T&, Args...>;
    if (!object_) return Result();
    try {
      return std::invoke(member, *object_, std::forward<Args>(args)...);
    } catch (...) {
      return Result();
    }
  }

  friend bool operator==(const ObjectRef& a, const ObjectRef& b) noexcept {
    return a.object_ == b.object_;
  }

 private:
  std::shared_ptr<T> object_;
};

}  // namespace zendra
