#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zendra::cli {

enum ExitStatus : int {
  kExitSuccess = 0,
  kExitNoCatalogue = 1,  // the site cannot be reached or its answers hold no catalogue
  kExitUsage = 2,
};

struct CommandStreams {
  std::ostream& out;  // results, UTF-8
  std::ostream& err;  // diagnostics and the progress line
  bool errIsTerminal = false;
};

// A subcommand, run without a window; arguments without the program name. Returns the
// exit status.
int RunCommandLine(const std::vector<std::string>& arguments, CommandStreams streams);

// The same with the process's own standard output and error.
int RunCommandLine(int argc, char** argv);

}  // namespace zendra::cli
