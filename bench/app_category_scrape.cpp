// The start-up's home page with 300 to 30,000 categories from the sample site: the two
// home-page requests, the scrape of the ids and of each id's name, and filling the
// category list. Prints the time per start-up and the process's peak memory so far.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QComboBox>
#include <string>

#include "app/catalogue/catalogue_browser.h"
#include "app/ui/main_window.h"
#include "site/sample_site.h"

namespace {

using zendra::site::Catalogue;

Catalogue Categories(int count) {
  Catalogue catalogue;
  for (int i = 0; i < count; ++i)
    catalogue.categories.push_back({"c-" + std::to_string(i), "类别 " + std::to_string(i), {}});
  return catalogue;
}

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_HomePageCategories(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  zendra::site::SampleSite site(Categories(count));
  if (!site.Start()) {
    state.SkipWithError("the sample site did not start");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    zendra::MainWindow window;
    zendra::CatalogueBrowser browser(site.BaseUrl(), window);
    state.ResumeTiming();
    browser.LoadHomePage();
    state.PauseTiming();
    if (window.categoryCombo().count() != count) state.SkipWithError("categories missing");
    state.ResumeTiming();
  }
  state.counters["peak_MiB"] = PeakMiB();
}
BENCHMARK(BM_HomePageCategories)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
