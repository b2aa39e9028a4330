// How fast the sample site answers at 0 ms latency, seen from one libcurl client that keeps
// its connection (as the browser does).
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <memory>
#include <string>

#include "site/sample_site.h"

namespace {

struct EasyDeleter {
  void operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }
};

size_t Collect(char* data, size_t size, size_t count, void* sink) {
  static_cast<std::string*>(sink)->append(data, size * count);
  return size * count;
}

class Client {
 public:
  Client() : easy_(curl_easy_init()) {
    curl_easy_setopt(easy_.get(), CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(easy_.get(), CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(easy_.get(), CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(easy_.get(), CURLOPT_WRITEDATA, &body_);
  }

  // Returns the size of the answer, 0 on failure.
  std::size_t Fetch(const std::string& url, const std::string* form, const char* cookie) {
    body_.clear();
    curl_easy_setopt(easy_.get(), CURLOPT_URL, url.c_str());
    if (form) {
      curl_easy_setopt(easy_.get(), CURLOPT_POSTFIELDS, form->c_str());
    } else {
      curl_easy_setopt(easy_.get(), CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(easy_.get(), CURLOPT_COOKIE, cookie);
    return curl_easy_perform(easy_.get()) == CURLE_OK ? body_.size() : 0;
  }

  long Connections() {
    long count = 0;
    curl_easy_getinfo(easy_.get(), CURLINFO_NUM_CONNECTS, &count);
    return count;
  }

 private:
  std::unique_ptr<CURL, EasyDeleter> easy_;
  std::string body_;
};

zendra::site::SampleSite& Site() {
  static zendra::site::SampleSite site;
  static const bool started = site.Start();
  (void)started;
  return site;
}

void Run(benchmark::State& state, const std::string& path, const std::string* form,
         const char* cookie) {
  auto& site = Site();
  Client client;
  const auto url = site.BaseUrl() + path.substr(1);
  std::size_t bytes = client.Fetch(url, form, cookie);  // the handshake is not measured
  long newConnections = 0;
  for (auto _ : state) {
    const auto size = client.Fetch(url, form, cookie);
    if (size == 0) state.SkipWithError("request failed");
    bytes += size;
    newConnections += client.Connections();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["new_connections"] = static_cast<double>(newConnections);
}

void BM_HomePage(benchmark::State& state) { Run(state, "/", nullptr, "zd_visit=1"); }
void BM_RedirectPage(benchmark::State& state) { Run(state, "/", nullptr, nullptr); }

void BM_Products(benchmark::State& state) {
  const auto form = "id=" + Site().Content().categories[0].id;
  Run(state, "/Category/Index", &form, "zd_visit=1");
}

void BM_Details(benchmark::State& state) {
  const auto& catalogue = Site().Content();
  const auto form = "id=" + catalogue.categories[0].products[0].languages[0].files[0].id;
  Run(state, "/Category/GetProduct", &form, "zd_visit=1");
}

// A fresh client per request: full TLS handshake each time, the cost a browser avoids by
// keeping its connection.
void BM_NewConnectionEachRequest(benchmark::State& state) {
  const auto form = "id=" + Site().Content().categories[0].id;
  const auto url = Site().BaseUrl() + "Category/Index";
  for (auto _ : state) {
    Client client;
    if (client.Fetch(url, &form, nullptr) == 0) state.SkipWithError("request failed");
  }
}

BENCHMARK(BM_HomePage)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RedirectPage)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Products)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Details)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_NewConnectionEachRequest)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
