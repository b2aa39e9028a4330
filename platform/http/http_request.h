#pragma once

#include <cstdint>

#include "platform/automation/object_ref.h"
#include "platform/automation/variant.h"
#include "platform/types.h"

namespace zendra {

// Values the members take, named once for the component and its callers.
inline constexpr std::int32_t kProxySettingNamed = 2;     // SetProxy: a named proxy server
inline constexpr std::int32_t kCredentialsForServer = 0;  // SetCredentials targets
inline constexpr std::int32_t kCredentialsForProxy = 1;
inline constexpr std::int32_t kOptionSslErrorIgnoreFlags = 4;  // Option indexes
inline constexpr std::int32_t kOptionEnableRedirects = 6;

// Why the last Send brought no answer.
enum class SendFailure : std::int32_t {
  None,         // an answer came, or nothing was sent
  Unreachable,  // no connection: name unknown, refused, timed out, proxy unreachable
  Tls,          // connected, but the TLS handshake or the certificate check failed
  Other,
};

// The HTTP request component. Every member reports failure as the empty value of its
// result kind (false, empty bytes, empty text, 0) and never throws.
class HttpRequest : public AutomationObject {
 public:
  // Prepares a request; must come before any header is set. Only synchronous requests exist.
  virtual bool Open(const Text& method, const Text& url, bool async) = 0;
  // Milliseconds for each phase: name resolution, connection, sending, receiving.
  virtual bool SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                           std::int32_t receiveMs) = 0;
  // Setting 2 names a proxy server ("host" or "host:port").
  virtual bool SetProxy(std::int32_t setting, const Text& server) = 0;
  // Target 0: credentials for the server; 1: for the proxy.
  virtual bool SetCredentials(const Text& user, const Text& password, std::int32_t target) = 0;
  // Option 6 = 0 returns redirects instead of following them; option 4 = 13056 accepts
  // certificates from unknown authorities, for other names, wrong usage or out of date.
  virtual bool Option(std::int32_t index, const Variant& value) = 0;
  virtual bool SetRequestHeader(const Text& name, const Text& value) = 0;
  // The body is a text or bytes; an empty text sends no body.
  virtual bool Send(const Variant& body) = 0;
  virtual Bytes ResponseBody() = 0;
  // The final response's header lines joined by CR LF, without the status line.
  virtual Text GetAllResponseHeaders() = 0;
  virtual double Status() = 0;
  // Not a member the catalogue calls; start-up reads it to say why it found nothing.
  virtual SendFailure LastSendFailure() { return SendFailure::None; }
};

}  // namespace zendra
