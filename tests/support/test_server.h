#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "site/tls/self_signed_certificate.h"
#include "tests/support/recording_relay.h"

namespace httplib {
class Server;
}

namespace zendra::testing {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// One request as the server received it. The server library sorts headers by name; the
// order on the wire is in TestServer::RawRequests (plain HTTP).
struct RecordedRequest {
  std::string method;
  std::string path;
  HeaderList headers;
  std::string body;

  // The first value of the header (name compared without case); empty when absent.
  std::string Header(std::string_view name) const;
  std::size_t HeaderCount(std::string_view name) const;
};

// How the server answers a path.
struct Reply {
  enum class Stall {
    None,
    BeforeHeaders,  // nothing is sent until the server stops (or stallFor has passed)
    AfterHeaders,   // the headers and a first piece of the body, then nothing
  };
  int status = 200;
  std::string body;
  HeaderList headers;  // e.g. {"Set-Cookie", "a=1"}, {"Location", "/next"}
  std::chrono::milliseconds delay{0};
  Stall stall = Stall::None;
  // When set, a stall ends after this long and the answer is completed: a client that
  // waits long enough gets it, so a failed request shows its own time-out ended it.
  std::chrono::milliseconds stallFor{0};
  // When set, the body is this many 'x' bytes sent in chunks without a length.
  std::size_t generatedChunkedBytes = 0;
};

// A loopback HTTP or HTTPS server (self-signed certificate made at run time) on an
// ephemeral port, run on background threads for the lifetime of the object. Stalled
// answers end when the server stops, so a test never hangs on it.
class TestServer {
 public:
  enum class Scheme { Http, Https };

  explicit TestServer(Scheme scheme = Scheme::Https);
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  bool IsRunning() const noexcept;
  int Port() const noexcept { return relay_ ? relay_->Port() : 0; }
  // "https://127.0.0.1:port" followed by path.
  std::string Url(std::string_view path = "/") const;

  // Answers every method on path with reply; other paths get 404 "not found".
  void Answer(const std::string& path, Reply reply);

  std::vector<RecordedRequest> Requests() const;
  // The request heads (request line and header lines, up to the blank line) as clients
  // sent them, in order; meaningful for plain HTTP only.
  std::vector<std::string> RawRequests() const;
  // How many connections clients opened.
  int ConnectionCount() const noexcept { return relay_ ? relay_->ConnectionCount() : 0; }

  void Stop() noexcept;

 private:
  Reply ReplyFor(const std::string& path) const;
  bool WaitUntilStopping(std::chrono::milliseconds limit) const;

  Scheme scheme_;
  SelfSignedCertificate certificate_;
  std::unique_ptr<httplib::Server> server_;
  std::unique_ptr<RecordingRelay> relay_;
  std::thread thread_;

  mutable std::mutex mutex_;
  mutable std::condition_variable stopped_;
  bool stopping_ = false;
  std::map<std::string, Reply> replies_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace zendra::testing
