#pragma once

namespace zendra {

class MainWindow;

// The program: creates the globals, shows 窗口, runs its created handler, then the
// message loop until the window is closed. Returns 0.
int ProgramMain(int argc, char** argv);

// ProgramMain's steps after the toolkit's initialisation, on the application that already
// exists: globals, start-up routine, window and created handler, message loop. Returns 0.
int RunMainWindow();

// Does nothing; kept as the program's start-up hook. Returns 0, which nobody reads.
int StartUpRoutine();

// Binds the window's events to their handlers: the combo boxes' user picks and the file
// list's double-click.
void ConnectHandlers(MainWindow& window);

}  // namespace zendra
