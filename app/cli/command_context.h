#pragma once

#include <ostream>
#include <string>

#include "app/catalogue/catalogue_browser.h"
#include "app/cli/cli_view.h"
#include "app/cli/command_line.h"

namespace zendra::cli {

// What a subcommand runs with: its streams and the catalogue it asks, shown on a CliView.
struct CommandContext {
  CommandContext(CommandStreams streams, Text baseUrl)
      : out(streams.out),
        err(streams.err),
        errIsTerminal(streams.errIsTerminal),
        browser(std::move(baseUrl), view) {}

  // Writes "zendra: message" to standard error and returns status.
  int Fail(int status, const std::string& message) const;

  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal;
  CliView view;
  CatalogueBrowser browser;
};

}  // namespace zendra::cli
