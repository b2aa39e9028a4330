#include "app/program_main.h"

#include <QApplication>
#include <QComboBox>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/bundled_site.h"

#include "app/catalogue/catalogue_browser.h"
#include "app/catalogue/empty_catalogue.h"
#include "app/catalogue/fixed_values.h"
#include "app/ui/file_list_checks.h"
#include "app/ui/main_window.h"
#include "app/ui/pictures.h"
#include "platform/http/preconnect.h"
#include "platform/http/request_hooks.h"
#include "platform/window/input_hold.h"
#include "platform/window/paint_events.h"
#include "site/sample_site.h"

namespace zendra {
namespace {

// Qt aborts with several lines of advice when no platform plugin can start (no display,
// or one that refuses us). While the application starts, its messages are held back: a
// fatal one becomes one plain line and status 1, the others are passed on afterwards.
struct HeldMessage {
  QtMsgType type;
  QByteArray file;
  int line;
  QByteArray function;
  QByteArray category;
  QString text;
};
std::vector<HeldMessage> heldMessages;
QtMessageHandler passOn = nullptr;

void HoldStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "zendra: cannot open a window: no display reachable (DISPLAY=%s)\n",
                 display != nullptr && *display != '\0' ? display : "not set");
    std::fflush(stderr);
    std::_Exit(1);
  }
  heldMessages.push_back({type, context.file, context.line, context.function, context.category,
                          text});
}

void PassOnHeldMessages() {
  qInstallMessageHandler(passOn);
  for (const HeldMessage& message : heldMessages) {
    if (passOn != nullptr) {
      const QMessageLogContext context(message.file.constData(), message.line,
                                       message.function.constData(), message.category.constData());
      passOn(message.type, context, message.text);
    } else {
      std::fprintf(stderr, "%s\n", qPrintable(message.text));
    }
  }
  heldMessages.clear();
}

// Empty lists alone leave a new user guessing; one line says why, nothing more.
void ExplainEmptyCatalogue(MainWindow& window, const CatalogueBrowser& browser) {
  if (!browser.State().CategoryIds.empty()) return;
  const std::string reason = EmptyCatalogueReason(browser.LastHomePage());
  const std::string address(browser.BaseUrl().begin(), browser.BaseUrl().end());
  std::fprintf(stderr, "zendra: no catalogue from %s: %s\n", address.c_str(), reason.c_str());
  window.ShowEmptyListNote(QString::fromStdString("No catalogue: " + reason + " (" + address + ")"));
}

}  // namespace

int StartUpRoutine() { return 0; }

void OnMainWindowCreated(MainWindow& window, CatalogueBrowser& browser) {
  ShowPictures(window);
  browser.OnMainWindowCreated();
  ExplainEmptyCatalogue(window, browser);
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
  passOn = qInstallMessageHandler(HoldStartMessage);
  // The site's connection is opened while the toolkit starts and the window is built.
  const Preconnect preconnect(CatalogueBaseUrl());
  QApplication application(argc, argv);
  PassOnHeldMessages();
  const auto bundledSite = ServeBundledCatalogueIfAbsent(CatalogueBaseUrl(), BundledSitePort());
  return RunMainWindow();
}

int RunMainWindow() { return RunMainWindow(CatalogueBaseUrl()); }

int RunMainWindow(const Text& baseUrl) {
  StartUpRoutine();

  MainWindow window;
  CatalogueBrowser browser(baseUrl, window);
  ConnectHandlers(window, browser);
  // A window closed while start-up runs must not leave the loop waiting for it.
  bool closed = false;
  QObject::connect(qApp, &QApplication::lastWindowClosed, &window, [&closed] { closed = true; });
  window.show();
  // While a query waits for the network the window repaints, and it takes in what
  // happened meanwhile: a close asked for during a request is acted on as soon as the
  // request returns, and the query sends nothing more.
  const ScopedRequestHooks hooks(
      {.meanwhile = [] { if (InputHold::Active()) ProcessPaintEventsAtFramePace(); },
       .stop = [&closed] { return InputHold::HonourCloseRequest() || closed; }});
  // The window is painted before the created handler starts its blocking requests.
  ProcessPaintEvents();
  OnMainWindowCreated(window, browser);

  if (!closed && window.isVisible()) QApplication::exec();
  return 0;
}

}  // namespace zendra
