#pragma once

#include <cstdint>
#include <optional>

#include "platform/automation/object_ref.h"
#include "platform/http/http_request.h"
#include "platform/types.h"

namespace zendra {

// The options of WebRequest. An option left empty takes its default; the pointers are
// the in/out and out parameters (nullptr: not given). Out-parameters are written on
// every call that got as far as having a request object.
struct WebRequestOptions {
  std::optional<std::int32_t> method;  // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE,
                                       // 6 TRACE, 7 CONNECT; anything else GET
  std::optional<Text> body;            // sent when bodyBytes is empty
  Text* cookies = nullptr;             // in/out: sent as Cookie, receives the merged cookies
  Text* returnedCookies = nullptr;     // out: the cookies the answer set
  std::optional<Text> headers;         // extra header lines, separated by CR LF
  Text* responseHeaders = nullptr;     // out
  std::int32_t* status = nullptr;      // out: 0 when there was no answer
  std::optional<bool> noRedirect;
  std::optional<Bytes> bodyBytes;
  std::optional<Text> proxy;
  std::optional<std::int32_t> timeoutSeconds;  // 0 or none: 15 s per phase; -1: untouched
  std::optional<Text> proxyUser;
  std::optional<Text> proxyPassword;
  std::optional<std::int32_t> credentialTarget;  // 0 server, 1 proxy (default)
  std::optional<ObjectRef<HttpRequest>> requestObject;
  std::optional<bool> mergeCookieText;    // default true
  std::optional<bool> addDefaultHeaders;  // default true
  std::optional<bool> normaliseHeaders;   // default true
};

// One synchronous HTTP or HTTPS request; returns the response body, empty on failure.
Bytes WebRequest(const Text& url, const WebRequestOptions& options = {}) noexcept;

}  // namespace zendra
