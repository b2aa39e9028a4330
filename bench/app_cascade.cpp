// The catalogue cascade against the sample site: start-up (home page to filled file list)
// and a product pick, with latency per request and a first language of n files. Prints
// the wall time, the number of requests and the ratio to the floor (requests x latency).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "app/catalogue/catalogue_browser.h"
#include "app/program_main.h"
#include "app/ui/main_window.h"
#include "site/sample_site.h"

namespace {

using zendra::site::Catalogue;

// One category with two products, each with one language of `files` files.
Catalogue CatalogueWithFiles(int files) {
  Catalogue catalogue;
  auto& category = catalogue.categories.emplace_back();
  category.id = "c-1";
  category.name = "系统";
  for (int p = 1; p <= 2; ++p) {
    auto& product = category.products.emplace_back();
    product.id = "p-" + std::to_string(p);
    product.name = "Zendra 服务器 " + std::to_string(2017 + p);
    auto& language = product.languages.emplace_back();
    language.id = "l-" + std::to_string(p);
    language.name = "简体中文";
    for (int f = 1; f <= files; ++f) {
      const std::string id = product.id + "-f-" + std::to_string(f);
      language.files.push_back(
          {id, "zd_" + id + ".iso", std::string(40, 'A'), 4781506560, "2019-11-27"});
    }
  }
  return catalogue;
}

void Report(benchmark::State& state, std::size_t requests, int latencyMs, double seconds) {
  const double perRun = static_cast<double>(requests) / static_cast<double>(state.iterations());
  state.counters["requests"] = perRun;
  const double floor = perRun * latencyMs / 1000.0;
  const double perRunSeconds = seconds / static_cast<double>(state.iterations());
  state.counters["floor_ms"] = floor * 1000.0;
  if (floor > 0) state.counters["ratio"] = perRunSeconds / floor;
}

// range(1) is the number of files of the first language, unless the site serves its
// bundled catalogue.
template <bool kPick, bool kBundled = false>
void Cascade(benchmark::State& state) {
  const int latencyMs = static_cast<int>(state.range(0));
  zendra::site::SampleSite site(kBundled ? zendra::site::BundledCatalogue()
                                         : CatalogueWithFiles(static_cast<int>(state.range(1))));
  if (!site.Start()) {
    state.SkipWithError("the sample site did not start");
    return;
  }
  zendra::MainWindow window;
  std::optional<zendra::CatalogueBrowser> browser;

  std::size_t requests = 0;
  double seconds = 0;
  for (auto _ : state) {
    browser.emplace(site.BaseUrl(), window);
    if (kPick) {
      site.SetLatency(std::chrono::milliseconds(0));
      zendra::OnMainWindowCreated(window, *browser);
      window.productCombo().setCurrentIndex(1);
    }
    site.SetLatency(std::chrono::milliseconds(latencyMs));
    site.ClearLog();
    const auto start = std::chrono::steady_clock::now();
    if (kPick)
      browser->OnProductSelected(1);
    else
      zendra::OnMainWindowCreated(window, *browser);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    seconds += elapsed.count();
    requests += site.Log().size();
  }
  Report(state, requests, latencyMs, seconds);
}

void Arguments(benchmark::internal::Benchmark* benchmark) {
  for (int latency : {0, 10, 20})
    for (int files : {10, 50, 200}) benchmark->Args({latency, files});
  benchmark->ArgNames({"latency_ms", "files"})
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->Repetitions(3)
      ->ReportAggregatesOnly(true);
}

BENCHMARK_TEMPLATE(Cascade, false)->Name("StartUp")->Apply(Arguments);
BENCHMARK_TEMPLATE(Cascade, false, true)
    ->Name("StartUpBundledCatalogue")
    ->ArgName("latency_ms")
    ->Arg(0)
    ->Arg(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK_TEMPLATE(Cascade, true)->Name("ProductPick")->Apply(Arguments);

}  // namespace
