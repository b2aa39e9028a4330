#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zendra::cli {

// The catalogue picks a subcommand accepts, as a set of bits.
enum PickOption : unsigned {
  kCategoryOption = 1u << 0,
  kProductOption = 1u << 1,
  kLanguageOption = 1u << 2,
  kFileOption = 1u << 3,
};

struct Invocation;
struct CommandContext;

// One entry of the command table. A new subcommand is one more entry here, read by the
// parser and the help text, and one more word in the bash completion (a test holds the
// two together).
struct Subcommand {
  std::string_view name;
  std::string_view operands;  // shown in the help, e.g. "FILE"; empty: none
  int operandCount = 0;
  unsigned pickOptions = 0;    // PickOption bits it accepts
  unsigned requiredPicks = 0;  // PickOption bits it cannot do without
  std::string_view summary;
  int (*run)(const Invocation&, CommandContext&) = nullptr;
};

const std::vector<Subcommand>& Subcommands();
const Subcommand* FindSubcommand(std::string_view name);

}  // namespace zendra::cli
