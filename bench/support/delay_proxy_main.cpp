// bench_delay_proxy --listen PORT --target PORT --rtt-ms N: a relay on 127.0.0.1 that gives
// each connection N ms of round trip (see delay_proxy.h). Runs until interrupted.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/support/delay_proxy.h"

int main(int argc, char** argv) {
  int listen = -1;
  int target = -1;
  int rtt = -1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const int value = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--listen") == 0) listen = value;
    if (std::strcmp(argv[i], "--target") == 0) target = value;
    if (std::strcmp(argv[i], "--rtt-ms") == 0) rtt = value;
  }
  if (listen < 0 || target <= 0 || rtt < 0) {
    std::fprintf(stderr, "usage: bench_delay_proxy --listen PORT --target PORT --rtt-ms N\n");
    return 2;
  }
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  zendra::bench::DelayProxy proxy(target, std::chrono::milliseconds(rtt));
  if (!proxy.Start(listen)) {
    std::fprintf(stderr, "bench_delay_proxy: cannot listen on 127.0.0.1:%d\n", listen);
    return 1;
  }
  std::printf("relaying 127.0.0.1:%d to :%d with %d ms round trip\n", proxy.Port(), target, rtt);
  std::fflush(stdout);
  int received = 0;
  sigwait(&stop, &received);
  return 0;
}
