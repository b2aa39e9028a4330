#include "tests/support/recording_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zendra::testing {
namespace {

constexpr int kPollMs = 50;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool SendAll(int socket, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(socket, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

void NoDelay(int socket) {
  int on = 1;
  ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

}  // namespace

RecordingRelay::RecordingRelay(int targetPort) : targetPort_(targetPort) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return;
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 64) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listener_);
    listener_ = -1;
    return;
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

RecordingRelay::~RecordingRelay() { Stop(); }

void RecordingRelay::Stop() noexcept {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<std::thread> pumps;
  {
    std::lock_guard lock(mutex_);
    pumps.swap(pumps_);
  }
  for (auto& pump : pumps) pump.join();
  if (listener_ >= 0) ::close(listener_);
  listener_ = -1;
}

std::vector<std::string> RecordingRelay::ClientStreams() const {
  std::lock_guard lock(mutex_);
  return streams_;
}

void RecordingRelay::AcceptLoop() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, kPollMs) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++connections_;
    std::lock_guard lock(mutex_);
    streams_.emplace_back();
    pumps_.emplace_back([this, client, index = streams_.size() - 1] { Pump(client, index); });
  }
}

void RecordingRelay::Pump(int client, std::size_t index) {
  const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in target = Loopback(targetPort_);
  if (server >= 0 && ::connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0) {
    NoDelay(client);
    NoDelay(server);
    char buffer[64 * 1024];
    pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    bool open = true;
    while (open && !stopping_) {
      if (::poll(ends, 2, kPollMs) <= 0) continue;
      for (int k = 0; k < 2 && open; ++k) {
        if (!(ends[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const ssize_t received = ::recv(ends[k].fd, buffer, sizeof buffer, 0);
        if (received <= 0) {
          open = false;
          break;
        }
        if (k == 0) {
          std::lock_guard lock(mutex_);
          streams_[index].append(buffer, static_cast<std::size_t>(received));
        }
        open = SendAll(ends[1 - k].fd, buffer, static_cast<std::size_t>(received));
      }
    }
  }
  if (server >= 0) ::close(server);
  ::close(client);
}

}  // namespace zendra::testing
