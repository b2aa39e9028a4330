#pragma once

#include <string>
#include <vector>

#include "platform/http/http_request.h"

namespace zendra::testing {

// An HTTP request component that records every call, in order, as "Member[arg][arg]"
// (e.g. "SetRequestHeader[Cookie][ a=1]") and answers with what the test scripted.
class RecordingHttpRequest : public HttpRequest {
 public:
  // The scripted answer, read after a successful Send.
  Bytes responseBody;
  Text responseHeaders;
  double status = 200;
  bool sendFails = false;

  std::vector<std::string> calls;

  // Only the SetRequestHeader calls, as "Name: value".
  std::vector<std::string> Headers() const;

  bool Open(const Text& method, const Text& url, bool async) override;
  bool SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                   std::int32_t receiveMs) override;
  bool SetProxy(std::int32_t setting, const Text& server) override;
  bool SetCredentials(const Text& user, const Text& password, std::int32_t target) override;
  bool Option(std::int32_t index, const Variant& value) override;
  bool SetRequestHeader(const Text& name, const Text& value) override;
  bool Send(const Variant& body) override;
  Bytes ResponseBody() override;
  Text GetAllResponseHeaders() override;
  double Status() override;

 private:
  bool answered_ = false;
};

}  // namespace zendra::testing
