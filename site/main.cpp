// zendra-site [--port N] [--latency-ms N] [--first-files N]: the sample catalogue site on
// 127.0.0.1 (--port 0 picks a free port; the listening line tells which). --first-files sets
// how many files the list shown at start-up holds.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "site/sample_site.h"

namespace {

bool ReadNumber(const char* text, int low, int high, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int port = ZENDRA_SITE_PORT;
  int latency = 0;
  int firstFiles = -1;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--port") == 0 && hasValue &&
        ReadNumber(argv[i + 1], 0, 65535, port)) {
      ++i;
    } else if (std::strcmp(argv[i], "--latency-ms") == 0 && hasValue &&
               ReadNumber(argv[i + 1], 0, 600000, latency)) {
      ++i;
    } else if (std::strcmp(argv[i], "--first-files") == 0 && hasValue &&
               ReadNumber(argv[i + 1], 1, 100000, firstFiles)) {
      ++i;
    } else {
      std::fprintf(stderr, "usage: zendra-site [--port N] [--latency-ms N] [--first-files N]\n");
      return 2;
    }
  }

  // Block the stop signals before any server thread exists, so that they all inherit
  // the mask and only sigwait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  zendra::site::Catalogue catalogue = zendra::site::BundledCatalogue();
  if (firstFiles > 0) SetFirstFileCount(catalogue, static_cast<std::size_t>(firstFiles));
  zendra::site::SampleSite site(std::move(catalogue));
  site.SetLatency(std::chrono::milliseconds(latency));
  if (!site.Start(port)) {
    std::fprintf(stderr, "zendra-site: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("listening on %s\n", site.BaseUrl().c_str());
  std::fflush(stdout);

  int received = 0;
  sigwait(&stopSignals, &received);
  site.Stop();
  return 0;
}
