// Parse of answers of 1, 16 and 60 MiB: one file name as long as the answer, and the same
// length of control characters (not JSON, refused). Prints the time per Parse and the
// process's peak memory so far; run one case per process for its own peak.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "json/json_object.h"

namespace {

using zendra::JsonObject;
using zendra::Text;

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

Text LongName(std::size_t bytes) {
  Text answer = R"({"result":{"FileName":")";
  answer.append(bytes - 40, 'f');
  return answer + R"(.iso","size":1}})";
}

Text ControlCharacters(std::size_t bytes) {
  Text answer;
  answer.reserve(bytes);
  for (std::size_t i = 0; i < bytes; ++i) answer += static_cast<char>(1 + i % 31);
  return answer;
}

void RunParse(benchmark::State& state, Text (*make)(std::size_t), bool parses) {
  const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
  const Text answer = make(bytes);
  for (auto _ : state) {
    JsonObject json;
    if (json.Parse(answer) != parses) state.SkipWithError("unexpected Parse result");
    if (parses && json.GetText("result.FileName").size() != bytes - 36)
      state.SkipWithError("file name cut");
  }
  state.counters["peak_MiB"] = PeakMiB();
  state.counters["answer_MiB"] = static_cast<double>(answer.size()) / (1 << 20);
}

void BM_ParseLongName(benchmark::State& state) { RunParse(state, LongName, true); }
void BM_ParseControlCharacters(benchmark::State& state) {
  RunParse(state, ControlCharacters, false);
}
BENCHMARK(BM_ParseLongName)->Arg(1)->Arg(16)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ParseControlCharacters)
    ->Arg(1)
    ->Arg(16)
    ->Arg(60)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
