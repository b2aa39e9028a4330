// Time to build the main window, show it, put the pictures in and have it painted once,
// on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QLabel>

#include "app/ui/main_window.h"
#include "app/ui/pictures.h"
#include "platform/png/decode_png.h"

namespace {

class PaintWatch : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void WindowToFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    zendra::MainWindow window;
    PaintWatch watch;
    window.pictureBox3().installEventFilter(&watch);
    window.show();
    zendra::ShowPictures(window);
    while (!watch.painted) QApplication::processEvents();
    benchmark::DoNotOptimize(&window);
  }
}
BENCHMARK(WindowToFirstPaint)->Unit(benchmark::kMillisecond);

void DecodePicture(benchmark::State& state) {
  const zendra::Bytes& png = zendra::Picture2();
  for (auto _ : state) benchmark::DoNotOptimize(zendra::DecodePng(png));
}
BENCHMARK(DecodePicture)->Unit(benchmark::kMicrosecond);

}  // namespace
