#include "web/web_request.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/automation/com_init.h"
#include "platform/automation/factories.h"
#include "text/text_primitives.h"
#include "web/base64.h"
#include "web/cookie_merge.h"
#include "web/header_names.h"
#include "web/text_helpers.h"

namespace zendra {
namespace {

constexpr std::array<const char*, 8> kMethods = {"GET",     "POST",   "HEAD",  "PUT",
                                                 "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr std::int32_t kPost = 1;
constexpr std::int32_t kLeaveTimeouts = -1;
constexpr std::int64_t kDefaultTimeoutMs = 15000;
// Unknown authority, wrong usage, other name, out of date.
constexpr std::int32_t kIgnoreCertificateErrors = 13056;

class AutomationScope {
 public:
  AutomationScope() noexcept { CoInitialize(); }
  ~AutomationScope() { CoUninitialize(); }
  AutomationScope(const AutomationScope&) = delete;
  AutomationScope& operator=(const AutomationScope&) = delete;
};

std::int32_t TimeoutMs(std::int32_t seconds) noexcept {
  // Large values saturate instead of overflowing the millisecond count.
  const std::int64_t ms = seconds >= 1 ? std::int64_t{seconds} * 1000 : kDefaultTimeoutMs;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(ms, std::numeric_limits<std::int32_t>::max()));
}

void AppendDefaultHeaders(Text& headers, const Text& url, std::int32_t method) {
  struct Default {
    const char* key;
    Text line;
  };
  const Default defaults[] = {
      {"Accept:", "Accept: */*"},
      {"Referer:", "Referer: " + url},
      {"Accept-Language:", "Accept-Language: zh-cn"},
      {"User-Agent:", "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
  };
  for (const auto& line : defaults)
    if (FindText(headers, line.key, std::nullopt, true) < 1) headers += "\r\n" + line.line;
  if (method == kPost && FindText(headers, "Content-Type:", std::nullopt, true) < 1)
    headers += "\r\nContent-Type: application/x-www-form-urlencoded";
}

void SetHeaderLines(const ObjectRef<HttpRequest>& request, const Text& headers) {
  if (FindText(headers, "\r\n") < 1) {
    request.Call(&HttpRequest::SetRequestHeader, TextBeforeColon(headers), TextAfterColon(headers));
    return;
  }
  for (const Text& line : SplitText(headers, "\r\n")) {
    if (line.empty()) continue;
    const Text name = TextBeforeColon(line);
    const Text value = TextAfterColon(line);
    // The transport manages the connection itself.
    if (name == "Connection" && value == "keep-alive") continue;
    request.Call(&HttpRequest::SetRequestHeader, name, value);
  }
}

// The header lines of a response, split on bytes: a site's header may end in an odd
// number of bytes of 128 or more, which a double-byte scan would pair with the CR.
TextArray HeaderLines(std::string_view headers) {
  TextArray lines;
  while (!headers.empty()) {
    const std::size_t end = headers.find("\r\n");
    lines.emplace_back(headers.substr(0, end));
    if (end == std::string_view::npos) break;
    headers.remove_prefix(end + 2);
  }
  return lines;
}

// Each Set-Cookie line gives its first name=value; attributes are dropped, and so is a
// cookie that could not travel back in a Cookie header.
Text CookiesSetBy(const Text& responseHeaders) {
  constexpr std::string_view kSetCookie = "Set-Cookie:";
  TextArray items;
  for (const Text& line : HeaderLines(responseHeaders)) {
    const std::string_view view(line);
    if (view.substr(0, view.find(": ")) != "Set-Cookie") continue;
    std::string_view item = view.substr(kSetCookie.size());
    item = item.substr(0, item.find(';'));
    items.push_back(TrimSpaces(item));
  }
  return LatestCookies(items);
}

Bytes Perform(const Text& url, const WebRequestOptions& options) {
  std::int32_t method = options.method.value_or(0);
  if (method < 0 || method > 7) method = 0;
  const Text methodName = kMethods[static_cast<std::size_t>(method)];

  const ObjectRef<HttpRequest> request =
      options.requestObject ? *options.requestObject : CreateHttpRequest();
  // Nothing is written when there is no request object to ask.
  if (!options.requestObject && request.IsEmpty()) return Bytes();

  const std::int32_t timeoutSeconds = options.timeoutSeconds.value_or(0);
  if (timeoutSeconds != kLeaveTimeouts) {
    const std::int32_t t = TimeoutMs(timeoutSeconds);
    request.Call(&HttpRequest::SetTimeouts, t, t, t, t);
  }
  const Text proxy = options.proxy.value_or(Text());
  if (!proxy.empty()) request.Call(&HttpRequest::SetProxy, kProxySettingNamed, proxy);
  request.Call(&HttpRequest::Open, methodName, url, false);
  if (options.noRedirect.value_or(false))
    request.Call(&HttpRequest::Option, kOptionEnableRedirects, Variant(std::int32_t{0}));
  request.Call(&HttpRequest::Option, kOptionSslErrorIgnoreFlags, Variant(kIgnoreCertificateErrors));

  Text headers = options.headers.value_or(Text());
  if (options.addDefaultHeaders.value_or(true)) AppendDefaultHeaders(headers, url, method);
  if (options.normaliseHeaders.value_or(true)) headers = NormaliseHeaderBlock(headers);

  const Text proxyUser = options.proxyUser.value_or(Text());
  if (!proxy.empty() && !proxyUser.empty()) {
    const Text proxyPassword = options.proxyPassword.value_or(Text());
    const std::int32_t target = options.credentialTarget.value_or(kCredentialsForProxy);
    request.Call(&HttpRequest::SetCredentials, proxyUser, proxyPassword, target);
    if (target == kCredentialsForProxy)
      request.Call(&HttpRequest::SetRequestHeader, Text("Proxy-Authorization"),
                   "Basic " + Base64Encode(ToBytes(proxyUser + ":" + proxyPassword)));
  }

  if (options.cookies) {
    Text& cookies = *options.cookies;
    // A caller may pass a whole "Cookie: ..." line; only the items are wanted.
    if (!cookies.empty() && FindText(cookies, "Cookie:", std::nullopt, true) >= 1)
      cookies = ReplaceText(cookies, "Cookie:", "", std::nullopt, std::nullopt, false);
    // An item that cannot travel is left out rather than losing the whole header.
    request.Call(&HttpRequest::SetRequestHeader, Text("Cookie"), BoundCookies(cookies));
  }

  SetHeaderLines(request, headers);

  const Bytes bodyBytes = options.bodyBytes.value_or(Bytes());
  if (!bodyBytes.empty()) {
    request.Call(&HttpRequest::Send, Variant(bodyBytes));
  } else {
    request.Call(&HttpRequest::Send, Variant(options.body.value_or(Text())));
  }

  Bytes responseBody = request.Call(&HttpRequest::ResponseBody);
  Text responseHeaders = request.Call(&HttpRequest::GetAllResponseHeaders);
  const std::int32_t status = ToInteger(request.Call(&HttpRequest::Status));
  Text returnedCookies = CookiesSetBy(responseHeaders);
  if (options.mergeCookieText.value_or(true) && options.cookies) {
    MergeCookies(*options.cookies, returnedCookies);
    *options.cookies = BoundCookies(*options.cookies);
    returnedCookies = *options.cookies;
  }

  if (options.responseHeaders) *options.responseHeaders = std::move(responseHeaders);
  if (options.status) *options.status = status;
  if (options.returnedCookies) *options.returnedCookies = std::move(returnedCookies);
  return responseBody;
}

}  // namespace

Bytes WebRequest(const Text& url, const WebRequestOptions& options) noexcept {
  // Balanced on every path; the request object is released before uninitialising.
  AutomationScope automation;
  try {
    return Perform(url, options);
  } catch (...) {
    return Bytes();
  }
}

}  // namespace zendra
