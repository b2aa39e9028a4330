#include "site/connection_sockets.h"

#include <dirent.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>

#include <cstdlib>
#include <memory>

namespace zendra::site {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const noexcept { closedir(dir); }
};

int LocalPort(int socket) noexcept {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  if (address.ss_family != AF_INET) return -1;
  return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

bool IsConnected(int socket) noexcept {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  return getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
}

}  // namespace

void DropConnection(int socket) noexcept {
  if (socket >= 0) shutdown(socket, SHUT_RDWR);
}

void DropConnectionsOnPort(int port) noexcept {
  std::unique_ptr<DIR, DirCloser> dir(opendir("/proc/self/fd"));
  if (!dir || port <= 0) return;
  while (const dirent* entry = readdir(dir.get())) {
    char* end = nullptr;
    const long socket = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0') continue;
    // The listening socket has no peer, and client sockets of the same process have
    // another local port: only the site's accepted connections pass both checks.
    const int fd = static_cast<int>(socket);
    if (LocalPort(fd) == port && IsConnected(fd)) shutdown(fd, SHUT_RDWR);
  }
}

void IgnoreBrokenPipes() noexcept {
  struct sigaction current {};
  if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
    signal(SIGPIPE, SIG_IGN);
  }
}

}  // namespace zendra::site
