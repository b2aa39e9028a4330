#include "tests/support/recording_http_request.h"

namespace zendra::testing {
namespace {

std::string Bracketed(std::initializer_list<std::string> arguments) {
  std::string text;
  for (const auto& argument : arguments) text += "[" + argument + "]";
  return text;
}

}  // namespace

std::vector<std::string> RecordingHttpRequest::Headers() const {
  static const std::string prefix = "SetRequestHeader[";
  std::vector<std::string> headers;
  for (const auto& call : calls) {
    if (call.rfind(prefix, 0) != 0) continue;
    const std::size_t split = call.find("][", prefix.size());
    headers.push_back(call.substr(prefix.size(), split - prefix.size()) + ": " +
                      call.substr(split + 2, call.size() - split - 3));
  }
  return headers;
}

bool RecordingHttpRequest::Open(const Text& method, const Text& url, bool async) {
  calls.push_back("Open" + Bracketed({method, url, async ? "true" : "false"}));
  return true;
}

bool RecordingHttpRequest::SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs,
                                       std::int32_t sendMs, std::int32_t receiveMs) {
  calls.push_back("SetTimeouts" + Bracketed({std::to_string(resolveMs), std::to_string(connectMs),
                                             std::to_string(sendMs), std::to_string(receiveMs)}));
  return true;
}

bool RecordingHttpRequest::SetProxy(std::int32_t setting, const Text& server) {
  calls.push_back("SetProxy" + Bracketed({std::to_string(setting), server}));
  return true;
}

bool RecordingHttpRequest::SetCredentials(const Text& user, const Text& password,
                                          std::int32_t target) {
  calls.push_back("SetCredentials" + Bracketed({user, password, std::to_string(target)}));
  return true;
}

bool RecordingHttpRequest::Option(std::int32_t index, const Variant& value) {
  calls.push_back("Option" + Bracketed({std::to_string(index), value.AsText()}));
  return true;
}

bool RecordingHttpRequest::SetRequestHeader(const Text& name, const Text& value) {
  calls.push_back("SetRequestHeader" + Bracketed({name, value}));
  return true;
}

bool RecordingHttpRequest::Send(const Variant& body) {
  const bool bytes = body.GetKind() == Variant::Kind::Bytes;
  calls.push_back("Send" + Bracketed({(bytes ? "bytes:" : "text:") + body.AsText()}));
  answered_ = !sendFails;
  return answered_;
}

Bytes RecordingHttpRequest::ResponseBody() { return answered_ ? responseBody : Bytes(); }

Text RecordingHttpRequest::GetAllResponseHeaders() { return answered_ ? responseHeaders : Text(); }

double RecordingHttpRequest::Status() { return answered_ ? status : 0; }

}  // namespace zendra::testing
