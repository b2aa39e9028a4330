// How often the window repaints while a local file is checked: a widget asks for a repaint
// every 10 ms (a window being dragged or resized asks about that often) while the check's
// dialog hashes a file on its worker thread. Prints repaints per second, the longest gap
// between two repaints and the hashing speed. The file is made once in /var/tmp
// (ZENDRA_REPAINT_FILE names another; its size is ZENDRA_REPAINT_MIB, 1024 by default).
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/ui/file_check_dialog.h"
#include "platform/window/message_box_seam.h"

namespace {

std::string BenchFile(std::uint64_t& bytes) {
  const char* named = std::getenv("ZENDRA_REPAINT_FILE");
  const char* mib = std::getenv("ZENDRA_REPAINT_MIB");
  const std::string path = named ? named : "/var/tmp/zendra-repaint-bench.bin";
  bytes = (mib ? std::strtoull(mib, nullptr, 10) : 1024) << 20;
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && static_cast<std::uint64_t>(status.st_size) == bytes) {
    return path;
  }
  if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
    std::mt19937_64 random(7);
    std::vector<std::uint64_t> block(1 << 17);
    for (std::uint64_t written = 0; written < bytes; written += 1 << 20) {
      for (auto& word : block) word = random();
      std::fwrite(block.data(), 1, 1 << 20, out);
    }
    std::fclose(out);
  }
  return path;
}

class Canvas : public QWidget {
 public:
  int paints = 0;
  qint64 longestGap = 0;
  QElapsedTimer sinceLast;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), paints % 2 ? Qt::white : Qt::lightGray);
    if (sinceLast.isValid()) longestGap = std::max(longestGap, sinceLast.elapsed());
    sinceLast.start();
    ++paints;
  }
};

void RepaintWhileHashing(benchmark::State& state) {
  std::uint64_t bytes = 0;
  const std::string path = BenchFile(bytes);
  for (auto _ : state) {
    Canvas window;
    window.resize(890, 400);
    window.show();
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, &window, [&window] { window.update(); });
    ask.start(10);

    bool done = false;
    zendra::ScopedMessageBoxInterceptor quiet([](QMessageBox&) {});
    QElapsedTimer clock;
    clock.start();
    window.paints = 0;
    window.longestGap = 0;
    window.sinceLast.invalidate();
    auto* dialog = new zendra::FileCheckDialog(
        QString::fromStdString(path), std::string(40, '0'),
        [&done](const zendra::verify::Verdict&) { done = true; }, &window);
    dialog->show();
    while (!done) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    state.counters["repaints_per_s"] = window.paints / seconds;
    state.counters["longest_gap_ms"] = static_cast<double>(window.longestGap);
    state.counters["hash_MiB_per_s"] = static_cast<double>(bytes >> 20) / seconds;
  }
}
BENCHMARK(RepaintWhileHashing)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
