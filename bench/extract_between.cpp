// ExtractBetween over large texts: a 1 MiB text with 10,000 pieces, a home-page style
// scrape of one 300 KiB page once per category id, and the worst inputs a site can send
// over 1 and 64 MiB (the body cap): left markers without a right one, one middle as long
// as the text, and markers with pattern characters, whose search has a budget.
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

// The worst inputs of a given size (MiB in the argument).
Text LeftMarkersOnly(std::size_t bytes) {
  Text text;
  text.reserve(bytes);
  while (text.size() + 10 <= bytes) text += "\"lang\":\"x";
  return text;
}

Text OneLongMiddle(std::size_t bytes) {
  Text text = "\"lang\":\"";
  text.append(bytes - 20, 'n');
  return text + "\"}";
}

void RunWorstCase(benchmark::State& state, Text (*make)(std::size_t), std::string_view left,
                  std::string_view right, std::int32_t expected) {
  const Text text = make(static_cast<std::size_t>(state.range(0)) << 20);
  TextArray results;
  for (auto _ : state) {
    const std::int32_t n = ExtractBetween(text, left, right, results);
    benchmark::DoNotOptimize(n);
    if (expected >= 0 && n != expected) state.SkipWithError("wrong piece count");
  }
  state.counters["pieces"] = static_cast<double>(results.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

void BM_WorstLeftMarkersOnly(benchmark::State& state) {
  RunWorstCase(state, LeftMarkersOnly, "\"lang\":\"", "\"}", 0);
}
void BM_WorstOneLongMiddle(benchmark::State& state) {
  RunWorstCase(state, OneLongMiddle, "\"lang\":\"", "\"}", 1);
}
// "." keeps its pattern meaning, so this one goes through the engine and its budget.
void BM_WorstPatternMarkers(benchmark::State& state) {
  RunWorstCase(state, LeftMarkersOnly, "\"lang\".\"", "\"}", 0);
}
BENCHMARK(BM_WorstLeftMarkersOnly)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WorstOneLongMiddle)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WorstPatternMarkers)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zendra

BENCHMARK_MAIN();
