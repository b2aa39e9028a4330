// Sequential form POSTs through WebRequest to a loopback HTTPS server, as the catalogue
// queries send them: once over the shared connection cache, once with a new connection
// (and TLS handshake) per request. Prints the median per request and their ratio.
#include "web/web_request.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/http/curl_share.h"
#include "tests/support/test_server.h"

namespace {

constexpr int kRequests = 200;

std::unique_ptr<zendra::testing::TestServer> server;
std::vector<double> reuseMicros;
std::vector<double> freshMicros;
int reuseConnections = 0;
int freshConnections = 0;

void Post(benchmark::State& state, bool sharing, std::vector<double>& micros) {
  zendra::SetConnectionSharing(sharing);
  const int connectionsBefore = server->ConnectionCount();
  zendra::Text cookies = "sid=bench";
  const zendra::Text url = server->Url("/Category/GetProduct");
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const zendra::Bytes body =
        zendra::WebRequest(url, {.method = 1, .body = "id=12345", .cookies = &cookies});
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
    if (body.empty()) state.SkipWithError("no answer");
  }
  (sharing ? reuseConnections : freshConnections) += server->ConnectionCount() - connectionsBefore;
  zendra::SetConnectionSharing(true);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  server = std::make_unique<zendra::testing::TestServer>();
  server->Answer(
      "/Category/GetProduct",
      zendra::testing::Reply{
          .body = R"({"Success":true,"Data":{"FileName":"a.iso","SHA1":"00","Size":"1"}})",
          .headers = {{"Content-Type", "application/json"}, {"Set-Cookie", "sid=bench"}}});

  for (const auto& [name, sharing, micros] :
       {std::tuple{"WebRequest/post/reused_connection", true, &reuseMicros},
        std::tuple{"WebRequest/post/new_connection", false, &freshMicros}}) {
    benchmark::RegisterBenchmark(name, [sharing = sharing, micros = micros](
                                           benchmark::State& s) { Post(s, sharing, *micros); })
        ->Iterations(1)
        ->Repetitions(kRequests)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RunSpecifiedBenchmarks();

  const double reuse = Median(reuseMicros);
  const double fresh = Median(freshMicros);
  std::printf("\n%d sequential POSTs each, loopback HTTPS\n", kRequests);
  std::printf("median per request, reused connection: %8.1f us (%d connections opened)\n", reuse,
              reuseConnections);
  std::printf("median per request, new connection:    %8.1f us (%d connections opened)\n", fresh,
              freshConnections);
  if (reuse > 0) std::printf("new / reused: %.1fx\n", fresh / reuse);
  server.reset();
  benchmark::Shutdown();
  return 0;
}
