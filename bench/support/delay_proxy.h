#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zendra::bench {

// A TCP relay on 127.0.0.1 that gives every connection a network's round trip: each chunk
// is held for half the round trip in each direction before it is passed on, so a TCP
// connect, a TLS handshake and each request cost what they would over a real network.
// Chunks keep their order and pass one another's holds, as packets in flight do.
class DelayProxy {
 public:
  DelayProxy(int targetPort, std::chrono::microseconds roundTrip);
  ~DelayProxy();
  DelayProxy(const DelayProxy&) = delete;
  DelayProxy& operator=(const DelayProxy&) = delete;

  // Listens on 127.0.0.1:port (0 = an ephemeral port); false when it cannot.
  bool Start(int port);
  void Stop();
  int Port() const { return port_; }
  // Connections accepted since the start.
  int Connections() const { return connections_; }

 private:
  void Accept();
  void Relay(int client);

  const int targetPort_;
  const std::chrono::microseconds halfTrip_;
  int listener_ = -1;
  int stopPipe_[2] = {-1, -1};
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::thread acceptor_;
  std::mutex mutex_;
  std::vector<std::thread> relays_;
};

}  // namespace zendra::bench
