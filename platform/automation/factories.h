#pragma once

#include <functional>
#include <utility>

#include "platform/automation/object_ref.h"
#include "platform/http/http_request.h"
#include "platform/regex/reg_exp.h"
#include "platform/script/script_host.h"

namespace zendra {

// Creation of the three components. An empty reference stands for a failed creation.
ObjectRef<HttpRequest> CreateHttpRequest() noexcept;
ObjectRef<RegExp> CreateRegExp() noexcept;
ObjectRef<ScriptHost> CreateScriptHost() noexcept;

template <class Component>
using ComponentFactory = std::function<ObjectRef<Component>()>;

// The factory in force for a component; tests replace it through ScopedFactory.
template <class Component>
ComponentFactory<Component>& CurrentFactory() noexcept;

// Replaces a component's factory for the lifetime of this object.
template <class Component>
class ScopedFactory {
 public:
  explicit ScopedFactory(ComponentFactory<Component> factory)
      : previous_(std::exchange(CurrentFactory<Component>(), std::move(factory))) {}
  ~ScopedFactory() { CurrentFactory<Component>() = std::move(previous_); }
  ScopedFactory(const ScopedFactory&) = delete;
  ScopedFactory& operator=(const ScopedFactory&) = delete;

 private:
  ComponentFactory<Component> previous_;
};

}  // namespace zendra
