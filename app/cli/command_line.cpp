#include "app/cli/command_line.h"

#include <unistd.h>

#include <iostream>

#include "app/catalogue/fixed_values.h"
#include "app/cli/arguments.h"
#include "app/cli/command_context.h"
#include "app/cli/subcommand.h"
#include "platform/codepage/code_page.h"

namespace zendra::cli {
namespace {

std::string PickSynopsis(unsigned options, unsigned required) {
  static constexpr std::pair<PickOption, const char*> kNames[]{
      {kCategoryOption, "--category C"},
      {kProductOption, "--product P"},
      {kLanguageOption, "--language L"},
      {kFileOption, "--file NAME|ROW"},
  };
  std::string synopsis;
  for (const auto& [bit, name] : kNames) {
    if ((options & bit) == 0) continue;
    synopsis += (required & bit) != 0 ? std::string(" ") + name : std::string(" [") + name + "]";
  }
  return synopsis;
}

void WriteHelp(std::ostream& out) {
  out << "Usage: zendra                      open the catalogue window\n"
         "       zendra COMMAND [OPTION]...  print the catalogue, without a window\n"
         "\n"
         "Commands:\n";
  for (const Subcommand& command : Subcommands()) {
    out << "  " << command.name;
    if (!command.operands.empty()) out << ' ' << command.operands;
    out << PickSynopsis(command.pickOptions, command.requiredPicks) << "\n      " << command.summary
        << '\n';
  }
  out << "\n"
         "Options:\n"
         "  --category C      a category by its name, its id or its position from 1\n"
         "  --product P       a product of that category, likewise\n"
         "  --language L      a language of that product, likewise\n"
         "  --file NAME|ROW   a file by its name or its row number\n"
         "                    (a list left out takes its first item, as the window does)\n"
         "  --format FORMAT   text (aligned columns, the default), tsv or json\n"
         "  --base-url URL    ask another catalogue site (default "
      << Utf8FromCp936(CatalogueBaseUrl())
      << ")\n"
         "  -h, --help        show this help and exit\n"
         "  -V, --version     show the version and exit\n"
         "\n"
         "Exit status: 0 on success, 1 when the site cannot be reached or answers no\n"
         "catalogue, 2 for a usage error.\n";
}

}  // namespace

int CommandContext::Fail(int status, const std::string& message) const {
  err << "zendra: " << message << '\n' << std::flush;
  return status;
}

int RunCommandLine(const std::vector<std::string>& arguments, CommandStreams streams) {
  const ParsedArguments parsed = ParseArguments(arguments);
  const Invocation& invocation = parsed.invocation;
  if (!parsed.error.empty()) {
    streams.err << "zendra: " << parsed.error << "\nTry 'zendra --help' for more information.\n"
                << std::flush;
    return kExitUsage;
  }
  if (invocation.help) {
    WriteHelp(streams.out);
    return kExitSuccess;
  }
  if (invocation.version) {
    streams.out << "zendra " << ZENDRA_VERSION << '\n';
    return kExitSuccess;
  }
  const Text baseUrl = invocation.baseUrl ? Cp936FromUtf8(*invocation.baseUrl) : CatalogueBaseUrl();
  CommandContext context(streams, baseUrl);
  const int status = invocation.subcommand->run(invocation, context);
  // A full disk or a closed pipe must not pass for a printed result.
  if (!streams.out.flush()) return context.Fail(kExitNoCatalogue, "cannot write the output");
  return status;
}

int RunCommandLine(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::ios::sync_with_stdio(false);
  return RunCommandLine(arguments, {std::cout, std::cerr, isatty(STDERR_FILENO) == 1});
}

}  // namespace zendra::cli
