#include "app/cli/command_line.h"
#include "app/program_main.h"

// Without arguments the window; with any, a subcommand that needs no display.
int main(int argc, char** argv) {
  if (argc > 1) return zendra::cli::RunCommandLine(argc, argv);
  return zendra::ProgramMain(argc, argv);
}
