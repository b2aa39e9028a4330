// bench_blank_window: an empty Qt window of the program's size, the baseline of how long
// mapping any window takes on this machine.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("blank");
  window.resize(890, 400);
  window.move(50, 50);
  window.show();
  return QApplication::exec();
}
