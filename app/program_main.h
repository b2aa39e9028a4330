#pragma once

#include "platform/types.h"

namespace zendra {

class CatalogueBrowser;
class MainWindow;

// The program: shows 窗口 with a fresh catalogue, runs its created handler, then the
// message loop until the window is closed. Returns 0.
int ProgramMain(int argc, char** argv);

// ProgramMain's steps after the toolkit's initialisation, on the application that already
// exists: start-up routine, window and catalogue, created handler, message loop. Returns 0.
int RunMainWindow();
// The same against the catalogue at baseUrl (a test's own site).
int RunMainWindow(const Text& baseUrl);

// Does nothing; kept as the program's start-up hook. Returns 0, which nobody reads.
int StartUpRoutine();

// The window's created event: shows the pictures, then the catalogue's start-up.
void OnMainWindowCreated(MainWindow& window, CatalogueBrowser& browser);

// Binds the window's events to the catalogue's handlers: the combo boxes' user picks and
// the file list's double-click.
void ConnectHandlers(MainWindow& window, CatalogueBrowser& browser);

}  // namespace zendra
