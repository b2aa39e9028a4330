#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zendra::testing {

// A loopback TCP relay in front of a server: it counts the connections clients open and
// records the bytes they send, in the order they were sent. The server library keeps
// request headers sorted by name; the relay is how tests see their order on the wire
// (in clear text only, so for plain HTTP).
class RecordingRelay {
 public:
  explicit RecordingRelay(int targetPort);
  ~RecordingRelay();
  RecordingRelay(const RecordingRelay&) = delete;
  RecordingRelay& operator=(const RecordingRelay&) = delete;

  bool IsListening() const noexcept { return listener_ >= 0; }
  int Port() const noexcept { return port_; }
  int ConnectionCount() const noexcept { return connections_; }
  // What the clients sent, one string per connection in the order they were opened.
  std::vector<std::string> ClientStreams() const;
  // Closes the listener and every connection; the threads end.
  void Stop() noexcept;

 private:
  void AcceptLoop();
  void Pump(int client, std::size_t index);

  int targetPort_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> streams_;
  std::vector<std::thread> pumps_;
  std::thread acceptor_;
};

}  // namespace zendra::testing
