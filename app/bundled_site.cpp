#include "app/bundled_site.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "site/sample_site.h"

namespace zendra {
namespace {

bool SomethingListens(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  // Loopback answers at once: refused or accepted, no time-out is needed.
  const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

int BundledSitePort() { return ZENDRA_SITE_PORT; }

std::unique_ptr<site::SampleSite> ServeBundledCatalogueIfAbsent(const Text& url, int port) {
  if (port <= 0 || port > 65535) return nullptr;
  if (url != "https://127.0.0.1:" + std::to_string(port) + "/") return nullptr;
  if (SomethingListens(port)) return nullptr;
  try {
    auto site = std::make_unique<site::SampleSite>();
    // Another program may have taken the port since; then start-up reports what it finds.
    if (!site->Start(port)) return nullptr;
    return site;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace zendra
