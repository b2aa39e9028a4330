#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

// Benchmarks of the window and the whole browser need a QApplication; the offscreen
// platform lets them run without a display.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
