#pragma once

#include <chrono>

#include "platform/http/http_request.h"

namespace zendra {

// The HTTP request component on libcurl. Notes on how the members map:
// - SetTimeouts: libcurl resolves names inside its connect phase, so the connect time-out
//   (TLS handshake included) bounds resolving and connecting together; the send and
//   receive time-outs bound the time since the last byte moved in that direction. A
//   value of 0 or less keeps that phase's default (connect 60 s, send and receive 30 s)
//   rather than waiting forever.
// - Redirects are followed (at most 10, http and https only) unless option 6 is 0.
// - Certificates are verified unless option 4 ignores the errors; a name mismatch and
//   the other errors (unknown authority, usage, dates) are switched off separately.
// - Only the headers the caller set are sent, in their order, plus Host and
//   Content-Length; setting a header again replaces its value, an empty value removes
//   it, and Proxy-Authorization goes to the proxy only.
// - A body over 64 MiB, or response headers over 1 MiB, fail the request.
ObjectRef<HttpRequest> MakeCurlHttpRequest() noexcept;

// Bounds every phase's time-out of the requests made during its lifetime, so that tests
// of stalled answers end quickly. The program never uses it.
class ScopedTimeoutCap {
 public:
  explicit ScopedTimeoutCap(std::chrono::milliseconds cap) noexcept;
  ~ScopedTimeoutCap();
  ScopedTimeoutCap(const ScopedTimeoutCap&) = delete;
  ScopedTimeoutCap& operator=(const ScopedTimeoutCap&) = delete;

 private:
  std::chrono::milliseconds previous_;
};

}  // namespace zendra
