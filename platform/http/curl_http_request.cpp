#include "platform/http/curl_http_request.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/http/curl_easy_handle.h"
#include "platform/http/curl_header_list.h"
#include "platform/http/curl_library.h"
#include "platform/http/curl_share.h"
#include "platform/http/curl_transfer.h"
#include "platform/http/preconnect.h"
#include "platform/http/request_hooks.h"

namespace zendra {
namespace {

using std::chrono::milliseconds;

constexpr std::int32_t kIgnoreUnknownAuthority = 0x0100;
constexpr std::int32_t kIgnoreWrongUsage = 0x0200;
constexpr std::int32_t kIgnoreNameMismatch = 0x1000;
constexpr std::int32_t kIgnoreDates = 0x2000;
constexpr long kMaxRedirects = 10;
// The platform's default proxy port; libcurl's own would be 1080.
constexpr long kDefaultProxyPort = 80;

constexpr milliseconds kDefaultConnectTimeout{60000};
constexpr milliseconds kDefaultSendTimeout{30000};
constexpr milliseconds kDefaultReceiveTimeout{30000};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) noexcept {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Header injection guard: a line break or NUL would let a value start a new header.
bool HasLineBreak(std::string_view text) noexcept {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsToken(std::string_view text) noexcept {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 32 && byte < 127 && c != ':' && c != '(' && c != ')' && c != ',' && c != ';' &&
           c != '"' && c != '/' && c != '<' && c != '>' && c != '@' && c != '[' && c != ']' &&
           c != '?' && c != '=' && c != '{' && c != '}' && c != '\\';
  });
}

// Set only by tests; zero means no cap.
milliseconds timeoutCap{0};

milliseconds TimeoutOrDefault(std::int32_t ms, milliseconds fallback) noexcept {
  const milliseconds timeout = ms > 0 ? milliseconds(ms) : fallback;
  return timeoutCap.count() > 0 ? std::min(timeout, timeoutCap) : timeout;
}

SendFailure FailureOf(CURLcode code) noexcept {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
      return SendFailure::Unreachable;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_USE_SSL_FAILED:
      return SendFailure::Tls;
    default:
      return SendFailure::Other;
  }
}

class CurlHttpRequest final : public HttpRequest {
 public:
  bool Open(const Text& method, const Text& url, bool async) override {
    opened_ = false;
    ClearResponse();
    headers_.clear();
    serverCredentials_.reset();
    proxyCredentials_.reset();
    if (async || !IsToken(method) || HasLineBreak(url) || url.find(' ') != Text::npos) return false;
    if (!StartsWithIgnoringCase(url, "http://") && !StartsWithIgnoringCase(url, "https://"))
      return false;
    method_ = method;
    url_ = url;
    opened_ = true;
    return true;
  }

  bool SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                   std::int32_t receiveMs) override {
    // libcurl resolves inside its connect phase: the longer of the two bounds both.
    connectTimeout_ = TimeoutOrDefault(std::max(resolveMs, connectMs), kDefaultConnectTimeout);
    sendTimeout_ = TimeoutOrDefault(sendMs, kDefaultSendTimeout);
    receiveTimeout_ = TimeoutOrDefault(receiveMs, kDefaultReceiveTimeout);
    return true;
  }

  bool SetProxy(std::int32_t setting, const Text& server) override {
    if (setting != kProxySettingNamed) {
      proxy_.clear();
      return setting == 0 || setting == 1;
    }
    if (server.empty() || HasLineBreak(server)) return false;
    proxy_ = server;
    return true;
  }

  bool SetCredentials(const Text& user, const Text& password, std::int32_t target) override {
    if (!opened_ || HasLineBreak(user) || HasLineBreak(password)) return false;
    if (target == kCredentialsForServer) {
      serverCredentials_ = Credentials{user, password};
    } else if (target == kCredentialsForProxy) {
      proxyCredentials_ = Credentials{user, password};
    } else {
      return false;
    }
    return true;
  }

  bool Option(std::int32_t index, const Variant& value) override {
    const auto number = value.TryNumber();
    if (!number) return false;
    if (index == kOptionEnableRedirects) {
      followRedirects_ = *number != 0;
      return true;
    }
    if (index == kOptionSslErrorIgnoreFlags) {
      sslIgnoreFlags_ = static_cast<std::int32_t>(*number);
      return true;
    }
    return false;
  }

  bool SetRequestHeader(const Text& name, const Text& value) override {
    if (!opened_ || !IsToken(name) || HasLineBreak(value)) return false;
    // The transport alone frames the body; a caller's length could desynchronise it.
    if (EqualsIgnoringCase(name, "Content-Length") || EqualsIgnoringCase(name, "Transfer-Encoding"))
      return false;
    const auto same = std::find_if(headers_.begin(), headers_.end(), [&](const Header& h) {
      return EqualsIgnoringCase(h.name, name);
    });
    if (value.empty()) {
      if (same != headers_.end()) headers_.erase(same);
    } else if (same != headers_.end()) {
      same->value = value;
    } else {
      headers_.push_back(Header{name, value});
    }
    return true;
  }

  bool Send(const Variant& body) override {
    ClearResponse();
    if (!opened_) return false;
    const RequestTurn turn;
    if (turn.Stopped()) return false;
    std::optional<Bytes> payload = body.TryBytes();
    if (!payload) {
      const auto text = body.GetKind() == Variant::Kind::Object ? std::nullopt : body.TryText();
      if (!text) return false;
      payload = Bytes(text->begin(), text->end());
    }
    if (!EnsureCurlInitialised()) return false;

    CurlHeaderList serverHeaders;
    CurlHeaderList proxyHeaders;
    if (!ComposeHeaders(serverHeaders, proxyHeaders)) return false;
    CurlTransfer transfer(sendTimeout_, receiveTimeout_);
    CurlEasyHandle easy;
    if (!easy || !Configure(easy.Get(), *payload, serverHeaders, proxyHeaders)) return false;
    transfer.Attach(easy.Get());
    OfferPreconnected(easy.Get());

    const CURLcode performed = curl_easy_perform(easy.Get());
    if (performed != CURLE_OK) {
      failure_ = FailureOf(performed);
      return false;
    }
    long status = 0;
    curl_easy_getinfo(easy.Get(), CURLINFO_RESPONSE_CODE, &status);
    try {
      headerBlock_ = transfer.HeaderBlock();
    } catch (...) {
      return false;
    }
    body_ = transfer.TakeBody();
    status_ = static_cast<double>(status);
    return true;
  }

  Bytes ResponseBody() override { return body_; }
  Text GetAllResponseHeaders() override { return headerBlock_; }
  double Status() override { return status_; }
  SendFailure LastSendFailure() override { return failure_; }

 private:
  struct Header {
    Text name;
    Text value;
  };
  struct Credentials {
    Text user;
    Text password;
  };

  void ClearResponse() noexcept {
    body_.clear();
    headerBlock_.clear();
    status_ = 0;
    failure_ = SendFailure::None;
  }

  bool HasHeader(std::string_view name) const noexcept {
    return std::any_of(headers_.begin(), headers_.end(),
                       [&](const Header& h) { return EqualsIgnoringCase(h.name, name); });
  }

  bool ComposeHeaders(CurlHeaderList& serverHeaders, CurlHeaderList& proxyHeaders) const {
    for (const auto& header : headers_) {
      auto& list =
          EqualsIgnoringCase(header.name, "Proxy-Authorization") ? proxyHeaders : serverHeaders;
      if (!list.Append(header.name + ": " + header.value)) return false;
    }
    // "Name:" with nothing after it suppresses a header libcurl would add by itself: the
    // request carries the caller's headers and what the transport needs, nothing else.
    for (const char* own : {"Accept", "Content-Type", "Expect"}) {
      if (!HasHeader(own) && !serverHeaders.Append(std::string(own) + ":")) return false;
    }
    return true;
  }

  bool Configure(CURL* easy, const Bytes& payload, const CurlHeaderList& serverHeaders,
                 const CurlHeaderList& proxyHeaders) const {
    const auto set = [&](CURLoption option, auto value) {
      return curl_easy_setopt(easy, option, value) == CURLE_OK;
    };
    bool ok = set(CURLOPT_URL, url_.c_str()) && set(CURLOPT_PROTOCOLS_STR, "http,https") &&
              set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https") && set(CURLOPT_NOSIGNAL, 1L);
    // HTTP/2 would lower-case the response's header names; callers compare them exactly.
    ok = ok && set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));

    if (method_ == "HEAD") {
      ok = ok && set(CURLOPT_NOBODY, 1L);
    } else if (method_ == "POST" || !payload.empty()) {
      ok = ok && set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(payload.size())) &&
           set(CURLOPT_COPYPOSTFIELDS,
               payload.empty() ? "" : reinterpret_cast<const char*>(payload.data()));
      if (method_ != "POST") ok = ok && set(CURLOPT_CUSTOMREQUEST, method_.c_str());
    } else if (method_ != "GET") {
      ok = ok && set(CURLOPT_CUSTOMREQUEST, method_.c_str());
    }

    ok = ok && set(CURLOPT_HTTPHEADER, serverHeaders.Get()) &&
         set(CURLOPT_PROXYHEADER, proxyHeaders.Get()) &&
         set(CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_SEPARATE));

    ok = ok && set(CURLOPT_FOLLOWLOCATION, followRedirects_ ? 1L : 0L) &&
         set(CURLOPT_MAXREDIRS, kMaxRedirects);

    const bool ignoreAuthority = (sslIgnoreFlags_ & kIgnoreUnknownAuthority) &&
                                 (sslIgnoreFlags_ & kIgnoreWrongUsage) &&
                                 (sslIgnoreFlags_ & kIgnoreDates);
    const bool ignoreName = (sslIgnoreFlags_ & kIgnoreNameMismatch) != 0;
    ok = ok && set(CURLOPT_SSL_VERIFYPEER, ignoreAuthority ? 0L : 1L) &&
         set(CURLOPT_SSL_VERIFYHOST, ignoreName ? 0L : 2L);

    ok = ok && set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeout_.count()));
    // The phase time-outs count idle time only, so a site sending a byte now and then could
    // hold the window for ever: the whole request gets the sum of its phases at most.
    const milliseconds overall = connectTimeout_ + sendTimeout_ + receiveTimeout_;
    ok = ok && set(CURLOPT_TIMEOUT_MS, static_cast<long>(overall.count()));

    // Without a named proxy libcurl takes the desktop's from the environment (https_proxy,
    // http_proxy, all_proxy, no_proxy), as the platform's request object takes the system's.
    if (!proxy_.empty())
      ok = ok && set(CURLOPT_PROXY, proxy_.c_str()) && set(CURLOPT_PROXYPORT, kDefaultProxyPort);
    if (serverCredentials_) {
      ok = ok && set(CURLOPT_USERNAME, serverCredentials_->user.c_str()) &&
           set(CURLOPT_PASSWORD, serverCredentials_->password.c_str()) &&
           set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
    }
    if (proxyCredentials_ && !proxy_.empty()) {
      ok = ok && set(CURLOPT_PROXYUSERNAME, proxyCredentials_->user.c_str()) &&
           set(CURLOPT_PROXYPASSWORD, proxyCredentials_->password.c_str()) &&
           set(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
    }

    if (ConnectionSharing()) {
      CURLSH* share = CurlShare::Process();
      ok = ok && share && set(CURLOPT_SHARE, share);
    } else {
      ok = ok && set(CURLOPT_FRESH_CONNECT, 1L) && set(CURLOPT_FORBID_REUSE, 1L);
    }
    return ok;
  }

  bool opened_ = false;
  Text method_;
  Text url_;
  std::vector<Header> headers_;
  std::optional<Credentials> serverCredentials_;
  std::optional<Credentials> proxyCredentials_;
  Text proxy_;
  bool followRedirects_ = true;
  std::int32_t sslIgnoreFlags_ = 0;
  milliseconds connectTimeout_ = kDefaultConnectTimeout;
  milliseconds sendTimeout_ = kDefaultSendTimeout;
  milliseconds receiveTimeout_ = kDefaultReceiveTimeout;

  Bytes body_;
  Text headerBlock_;
  double status_ = 0;
  SendFailure failure_ = SendFailure::None;
};

}  // namespace

ObjectRef<HttpRequest> MakeCurlHttpRequest() noexcept {
  try {
    return ObjectRef<HttpRequest>(std::make_shared<CurlHttpRequest>());
  } catch (...) {
    return ObjectRef<HttpRequest>();
  }
}

ScopedTimeoutCap::ScopedTimeoutCap(milliseconds cap) noexcept
    : previous_(std::exchange(timeoutCap, cap)) {}

ScopedTimeoutCap::~ScopedTimeoutCap() { timeoutCap = previous_; }

}  // namespace zendra
