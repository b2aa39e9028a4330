#include "app/program_main.h"

#include <QApplication>
#include <QComboBox>

#include "app/catalogue/catalogue_browser.h"
#include "app/catalogue/fixed_values.h"
#include "app/ui/file_list_checks.h"
#include "app/ui/main_window.h"
#include "app/ui/pictures.h"

namespace zendra {

int StartUpRoutine() { return 0; }

void OnMainWindowCreated(MainWindow& window, CatalogueBrowser& browser) {
  ShowPictures(window);
  browser.OnMainWindowCreated();
}

void ConnectHandlers(MainWindow& window, CatalogueBrowser& browser) {
  // activated() reports only the user's own picks, never a selection set by the program.
  QObject::connect(&window.categoryCombo(), &QComboBox::activated, &window,
                   [&browser](int index) { browser.OnCategorySelected(index); });
  QObject::connect(&window.productCombo(), &QComboBox::activated, &window,
                   [&browser](int index) { browser.OnProductSelected(index); });
  QObject::connect(&window.languageCombo(), &QComboBox::activated, &window,
                   [&browser](int index) { browser.OnLanguageSelected(index); });
  QObject::connect(&window, &MainWindow::fileListDoubleClicked, &window,
                   [&browser](std::int32_t row) { browser.OnFileDoubleClicked(row); });
  // Owned by the list: its context menu and the checks of dropped files.
  new FileListChecks(window.fileList(), window.linkEdit());
}

int ProgramMain(int argc, char** argv) {
  QApplication application(argc, argv);
  return RunMainWindow();
}

int RunMainWindow() {
  StartUpRoutine();

  MainWindow window;
  CatalogueBrowser browser(CatalogueBaseUrl(), window);
  ConnectHandlers(window, browser);
  // A window closed while start-up runs must not leave the loop waiting for it.
  bool closed = false;
  QObject::connect(qApp, &QApplication::lastWindowClosed, &window, [&closed] { closed = true; });
  window.show();
  // The window is painted before the created handler starts its blocking requests.
  window.Repaint();
  OnMainWindowCreated(window, browser);

  if (!closed && window.isVisible()) QApplication::exec();
  return 0;
}

}  // namespace zendra
