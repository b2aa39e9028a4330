#include "app/program_main.h"

#include <QApplication>
#include <QComboBox>
#include <cstdlib>

#include "app/globals.h"
#include "app/handlers.h"
#include "app/main_window.h"
#include "platform/window/paint_events.h"

namespace zendra {
namespace {

void FreeGlobalsAtExit() { FreeGlobals(); }

}  // namespace

int StartUpRoutine() { return 0; }

void ConnectHandlers(MainWindow& window) {
  // activated() reports only the user's own picks, never a selection set by the program.
  QObject::connect(&window.categoryCombo(), &QComboBox::activated, &window,
                   [&window] { OnCategorySelected(window); });
  QObject::connect(&window.productCombo(), &QComboBox::activated, &window,
                   [&window] { OnProductSelected(window); });
  QObject::connect(&window.languageCombo(), &QComboBox::activated, &window,
                   [&window] { OnLanguageSelected(window); });
  QObject::connect(&window, &MainWindow::fileListDoubleClicked, &window,
                   [&window] { OnFileDoubleClicked(window); });
}

int ProgramMain(int argc, char** argv) {
  QApplication application(argc, argv);
  return RunMainWindow();
}

int RunMainWindow() {
  CreateGlobals();
  // Registered once however often the window is run; the globals go when the program ends.
  static const bool freeAtExit = std::atexit(FreeGlobalsAtExit) == 0;
  static_cast<void>(freeAtExit);
  StartUpRoutine();

  MainWindow window;
  ConnectHandlers(window);
  // A window closed while start-up runs must not leave the loop waiting for it.
  bool closed = false;
  QObject::connect(qApp, &QApplication::lastWindowClosed, &window, [&closed] { closed = true; });
  window.show();
  // The window is painted before the created handler starts its blocking requests.
  ProcessPaintEvents();
  OnMainWindowCreated(window);

  if (!closed && window.isVisible()) QApplication::exec();
  return 0;
}

}  // namespace zendra
