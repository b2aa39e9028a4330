// Parse of a file-details answer and the five reads of the file list, per file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "json/json_library_script.h"
#include "json/json_object.h"
#include "platform/script/duktape_script_host.h"

namespace {

using zendra::JsonObject;
using zendra::Text;

const Text& FileDetails() {
  static const Text answer =
      R"({"result":{"FileName":"zd_server_2019_x64_dvd.iso",)"
      R"("SHA1":"4c5dd5a2c5e3e9d61e6a5b8c0f1d2e3f40516273","size":4781506560,)"
      R"("PostDateString":"2019-11-27",)"
      R"("DownLoad":"https://127.0.0.1:47443/download/zd_server_2019_x64_dvd.iso?t=8c1f0e2d"}})";
  return answer;
}

// One row of the file list: what LoadFiles does per file.
bool ReadOneFile(JsonObject& json) {
  if (!json.Parse(FileDetails())) return false;
  const char* paths[] = {"result.FileName", "result.DownLoad", "result.PostDateString",
                         "result.SHA1", "result.size"};
  std::size_t total = 0;
  for (const char* path : paths) total += json.GetText(path).size();
  return total > 0;
}

void BM_ParseAndReadFile(benchmark::State& state) {
  JsonObject json;
  for (auto _ : state) benchmark::DoNotOptimize(ReadOneFile(json));
}
BENCHMARK(BM_ParseAndReadFile)->Unit(benchmark::kMicrosecond);

// What every Parse pays before reading anything: a new engine with the library loaded.
void BM_HostSetUp(benchmark::State& state) {
  for (auto _ : state) {
    JsonObject json;
    benchmark::DoNotOptimize(json.GetScriptHost().Get());
  }
}
BENCHMARK(BM_HostSetUp)->Unit(benchmark::kMicrosecond);

void BM_EngineOnly(benchmark::State& state) {
  for (auto _ : state) {
    auto host = zendra::MakeDuktapeScriptHost();
    benchmark::DoNotOptimize(host.Get());
  }
}
BENCHMARK(BM_EngineOnly)->Unit(benchmark::kMicrosecond);

void BM_LibraryScriptOnly(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto host = zendra::MakeDuktapeScriptHost();
    host.Call(&zendra::ScriptHost::SetLanguage, Text("JavaScript"));
    state.ResumeTiming();
    benchmark::DoNotOptimize(host.Call(&zendra::ScriptHost::AddCode, zendra::JsonLibraryScript()));
  }
}
BENCHMARK(BM_LibraryScriptOnly)->Unit(benchmark::kMicrosecond);

long MaxRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Median and spread per file, and the peak resident size, over 1,000 cycles.
void ReportCycles() {
  constexpr int kCycles = 1000;
  const long rssBefore = MaxRssKiB();
  std::vector<double> micros;
  micros.reserve(kCycles);
  JsonObject json;
  int failures = 0;
  for (int i = 0; i < kCycles; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!ReadOneFile(json)) ++failures;
    const auto end = std::chrono::steady_clock::now();
    micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  const long rssAfter = MaxRssKiB();
  std::sort(micros.begin(), micros.end());
  std::printf("\n%d cycles of Parse + 5 GetText (file-details answer, %zu bytes):\n", kCycles,
              FileDetails().size());
  std::printf("  median %.1f us, p90 %.1f us, max %.1f us per file, %d failures\n",
              micros[kCycles / 2], micros[kCycles * 9 / 10], micros.back(), failures);
  std::printf("  peak RSS %ld KiB before, %ld KiB after (growth %ld KiB)\n", rssBefore, rssAfter,
              rssAfter - rssBefore);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ReportCycles();
  return 0;
}
