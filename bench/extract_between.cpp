// ExtractBetween over large texts: a 1 MiB text with 10,000 pieces, and a home-page style
// scrape of one 300 KiB page once per category id.
#include "text/extract_between.h"

#include <benchmark/benchmark.h>

#include <string>

#include "platform/codepage/code_page.h"

namespace zendra {
namespace {

// About 1 MiB holding 10,000 "<td>...</td>" pieces amid double-byte filler.
Text TenThousandPieces() {
  static const Text filler = Cp936FromUtf8("中文说明 text filler ");
  Text text;
  text.reserve(1 << 20);
  for (int k = 0; text.size() < (1u << 20) || k < 10000; ++k) {
    if (k < 10000) text += "<td>" + std::to_string(k) + Cp936FromUtf8("号文件") + "</td>";
    text += filler;
    text.append(104 - text.size() % 104, ' ');  // whole records keep characters intact
  }
  return text;
}

// A 300 KiB page where 30 category ids stand once each, spread over the page.
Text HomePage() {
  static const Text row = Cp936FromUtf8("<div class=\"item\">产品 product row</div>\r\n");
  Text page;
  page.reserve(300 * 1024);
  for (int id = 0; page.size() < 300u * 1024; ++id) {
    page += row;
    if (id % 200 == 0 && id / 200 < 30)
      page += "<a data-id=\"cat" + std::to_string(id / 200) + "\" href=\"#\">" +
              Cp936FromUtf8("类别") + std::to_string(id / 200) + "</a>\r\n";
  }
  return page;
}

void BM_ExtractTenThousandPieces(benchmark::State& state) {
  const Text text = TenThousandPieces();
  TextArray results;
  for (auto _ : state) {
    const std::int32_t n = ExtractBetween(text, "<td>", "</td>", results);
    benchmark::DoNotOptimize(n);
    if (n != 10000) state.SkipWithError("wrong piece count");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ExtractTenThousandPieces)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_HomePageScrape(benchmark::State& state) {
  const Text page = HomePage();
  TextArray results;
  for (auto _ : state) {
    std::int32_t found = 0;
    for (int id = 0; id < 30; ++id) {
      const Text left = "data-id=\"cat" + std::to_string(id) + "\" href=\"#\">";
      found += ExtractBetween(page, left, "</a>", results);
    }
    if (found != 30) state.SkipWithError("wrong piece count");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 30 *
                          static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_HomePageScrape)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace zendra

BENCHMARK_MAIN();
