#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/cli/subcommand.h"
#include "app/cli/table_output.h"

namespace zendra::cli {

// A command line read against the command table.
struct Invocation {
  const Subcommand* subcommand = nullptr;
  std::optional<std::string> category;
  std::optional<std::string> product;
  std::optional<std::string> language;
  std::optional<std::string> file;
  std::vector<std::string> operands;
  OutputFormat format = OutputFormat::Text;
  std::optional<std::string> baseUrl;  // always ends in a slash
  bool help = false;
  bool version = false;
};

struct ParsedArguments {
  Invocation invocation;
  std::string error;  // non-empty: a usage error, said in one line
};

// Options may stand before or after the subcommand, as --name VALUE or --name=VALUE;
// a repeated option takes its last value. --help and --version need no subcommand.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

}  // namespace zendra::cli
