#include "bench/support/delay_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <deque>
#include <string>

namespace zendra::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Chunk {
  Clock::time_point due;
  std::string bytes;
};

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// One direction of a connection: reads whatever arrives, passes each chunk on once its
// hold is over, and half-closes the far side after the last one. Nothing read before
// `notBefore` counts as sent earlier than that.
void Pump(int from, int to, std::chrono::microseconds hold, Clock::time_point notBefore,
          int stopFd) {
  std::deque<Chunk> inFlight;
  bool open = true;
  char buffer[65536];
  while (open || !inFlight.empty()) {
    const auto now = Clock::now();
    while (!inFlight.empty() && inFlight.front().due <= now) {
      if (!WriteAll(to, inFlight.front().bytes)) return;
      inFlight.pop_front();
    }
    if (!open && inFlight.empty()) break;
    int wait = -1;
    if (!inFlight.empty()) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(inFlight.front().due - now);
      wait = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
    }
    pollfd fds[2] = {{from, static_cast<short>(open ? POLLIN : 0), 0}, {stopFd, POLLIN, 0}};
    if (::poll(fds, 2, wait) < 0) return;
    if (fds[1].revents != 0) return;
    if (open && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
      const ssize_t n = ::recv(from, buffer, sizeof buffer, 0);
      if (n <= 0) {
        open = false;
      } else {
        const auto sent = std::max(Clock::now(), notBefore);
        inFlight.push_back({sent + hold, std::string(buffer, static_cast<std::size_t>(n))});
      }
    }
  }
  ::shutdown(to, SHUT_WR);
}

int ConnectLoopback(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void NoDelay(int fd) {
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

}  // namespace

DelayProxy::DelayProxy(int targetPort, std::chrono::microseconds roundTrip)
    : targetPort_(targetPort), halfTrip_(roundTrip / 2) {}

DelayProxy::~DelayProxy() { Stop(); }

bool DelayProxy::Start(int port) {
  if (::pipe2(stopPipe_, O_CLOEXEC) != 0) return false;
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return false;
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 64) != 0) {
    return false;
  }
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
  return true;
}

void DelayProxy::Stop() {
  if (stopPipe_[1] >= 0) {
    const char stop = 0;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe_[1], &stop, 1);
  }
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<std::thread> relays;
  {
    std::lock_guard lock(mutex_);
    relays.swap(relays_);
  }
  for (auto& relay : relays) relay.join();
  for (int* fd : {&listener_, &stopPipe_[0], &stopPipe_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

void DelayProxy::Accept() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 || fds[1].revents != 0) return;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++connections_;
    std::lock_guard lock(mutex_);
    relays_.emplace_back([this, client] { Relay(client); });
  }
}

void DelayProxy::Relay(int client) {
  // Loopback completes the client's connect at once; over a network its first byte could
  // leave only when the handshake's answer is back, one round trip after the connect.
  const auto connected = Clock::now() + 2 * halfTrip_;
  const int server = ConnectLoopback(targetPort_);
  if (server >= 0) {
    NoDelay(client);
    NoDelay(server);
    std::thread back([&] { Pump(server, client, halfTrip_, Clock::time_point(), stopPipe_[0]); });
    Pump(client, server, halfTrip_, connected, stopPipe_[0]);
    back.join();
    ::close(server);
  }
  ::close(client);
}

}  // namespace zendra::bench
