#include "platform/automation/factories.h"

#include "platform/http/curl_http_request.h"
#include "platform/regex/pcre2_reg_exp.h"
#include "platform/script/duktape_script_host.h"

namespace zendra {
namespace {

template <class Component>
ObjectRef<Component> Create() noexcept {
  try {
    const auto& factory = CurrentFactory<Component>();
    return factory ? factory() : ObjectRef<Component>();
  } catch (...) {
    return ObjectRef<Component>();
  }
}

}  // namespace

template <>
ComponentFactory<HttpRequest>& CurrentFactory<HttpRequest>() noexcept {
  static ComponentFactory<HttpRequest> factory = MakeCurlHttpRequest;
  return factory;
}

template <>
ComponentFactory<RegExp>& CurrentFactory<RegExp>() noexcept {
  static ComponentFactory<RegExp> factory = MakePcre2RegExp;
  return factory;
}

template <>
ComponentFactory<ScriptHost>& CurrentFactory<ScriptHost>() noexcept {
  static ComponentFactory<ScriptHost> factory = MakeDuktapeScriptHost;
  return factory;
}

ObjectRef<HttpRequest> CreateHttpRequest() noexcept { return Create<HttpRequest>(); }
ObjectRef<RegExp> CreateRegExp() noexcept { return Create<RegExp>(); }
ObjectRef<ScriptHost> CreateScriptHost() noexcept { return Create<ScriptHost>(); }

}  // namespace zendra
