#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "site/catalogue.h"

namespace zendra::site {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// One request as the site received it. Headers come grouped by name in alphabetical
// order (the HTTP library keeps them in a sorted multimap); lines of the same name keep
// the order in which they arrived.
struct LoggedRequest {
  std::string method;
  std::string path;
  std::string body;
  HeaderList headers;
  int remotePort = 0;  // the client's port: equal ports mean one reused connection
  std::chrono::steady_clock::time_point received;  // when its headers and body were in

  // The value of the first header of that name (any letter case), empty when absent.
  std::string Header(const std::string& name) const;
};

// An answer that a test hands in to replace the site's own.
struct Reply {
  int status = 200;
  std::string body;
  std::string contentType = "application/json; charset=utf-8";
  HeaderList headers;           // sent as given, repeats included (e.g. Set-Cookie)
  bool dropConnection = false;  // close the connection instead of answering
  // Not zero: the body goes out one byte at a time with this pause before each byte.
  std::chrono::milliseconds trickle{0};
};

enum class DetailsFault {
  None,
  Fail,      // status 500 with an empty body
  Truncate,  // the JSON cut in half
  Script,    // a script expression instead of JSON
};

using Responder = std::function<std::optional<Reply>(const LoggedRequest&)>;

// The sample catalogue site on 127.0.0.1 over HTTPS with a certificate made at start.
// Start, Stop and the destructor belong to the owning thread; the other members are safe
// to call from any thread while the site runs.
class SampleSite {
 public:
  explicit SampleSite(Catalogue catalogue = BundledCatalogue());
  ~SampleSite();
  SampleSite(const SampleSite&) = delete;
  SampleSite& operator=(const SampleSite&) = delete;

  // Binds 127.0.0.1 only (0 = an ephemeral port) and returns once connections are
  // accepted; false when the port is taken or TLS cannot be set up.
  bool Start(int port = 0);
  // Returns promptly even with stalled or idle kept-alive connections.
  void Stop();
  bool IsRunning() const;

  int Port() const;
  std::string BaseUrl() const;  // "https://127.0.0.1:PORT/"
  const Catalogue& Content() const;

  void SetLatency(std::chrono::milliseconds perRequest);
  // The n-th GetProduct request from now on (1-based) gets the fault; None disarms.
  void FailDetails(int n, DetailsFault fault);
  void SetSilent(bool silent);  // read each request, then close without an answer
  void SetStall(bool stall);    // read each request, then never answer
  // Asked first for every request; std::nullopt lets the site answer as usual.
  void SetResponder(Responder responder);

  std::vector<LoggedRequest> Log() const;
  std::size_t LogSize() const;
  void ClearLog();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace zendra::site
