#include "app/cli/arguments.h"

#include <getopt.h>

#include <array>
#include <string_view>

namespace zendra::cli {
namespace {

enum LongOnly : int { kCategory = 256, kProduct, kLanguage, kFile, kFormat, kBaseUrl };

constexpr std::array<option, 9> kOptions{{
    {"category", required_argument, nullptr, kCategory},
    {"product", required_argument, nullptr, kProduct},
    {"language", required_argument, nullptr, kLanguage},
    {"file", required_argument, nullptr, kFile},
    {"format", required_argument, nullptr, kFormat},
    {"base-url", required_argument, nullptr, kBaseUrl},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
}};

struct PickSpec {
  int code;
  PickOption bit;
  const char* name;
  std::optional<std::string> Invocation::*field;
};

constexpr std::array<PickSpec, 4> kPicks{{
    {kCategory, kCategoryOption, "--category", &Invocation::category},
    {kProduct, kProductOption, "--product", &Invocation::product},
    {kLanguage, kLanguageOption, "--language", &Invocation::language},
    {kFile, kFileOption, "--file", &Invocation::file},
}};

std::optional<OutputFormat> FormatNamed(std::string_view name) {
  if (name == "text") return OutputFormat::Text;
  if (name == "tsv") return OutputFormat::Tsv;
  if (name == "json") return OutputFormat::Json;
  return std::nullopt;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// getopt keeps its state in globals; each parse starts it afresh and with its own
// messages silenced, since ours name the program and the fault in one line.
class GetoptSession {
 public:
  explicit GetoptSession(const std::vector<std::string>& arguments) {
    storage_.reserve(arguments.size() + 1);
    storage_.emplace_back("zendra");
    storage_.insert(storage_.end(), arguments.begin(), arguments.end());
    for (std::string& argument : storage_) argv_.push_back(argument.data());
    argv_.push_back(nullptr);
    optind = 0;
    opterr = 0;
  }

  int Next() {
    return getopt_long(static_cast<int>(argv_.size() - 1), argv_.data(), ":hV", kOptions.data(),
                       nullptr);
  }
  std::string Value() const { return optarg != nullptr ? optarg : ""; }
  // The argument that the last Next() stumbled on, as the user wrote it.
  std::string Offending() const {
    const int index = optind - 1;
    if (index > 0 && index < static_cast<int>(argv_.size() - 1)) return argv_[index];
    return {};
  }
  std::vector<std::string> Operands() const {
    std::vector<std::string> rest;
    for (int i = optind; i < static_cast<int>(argv_.size() - 1); ++i) rest.emplace_back(argv_[i]);
    return rest;
  }

 private:
  std::vector<std::string> storage_;
  std::vector<char*> argv_;
};

std::string OptionError(const GetoptSession& session, int result) {
  const std::string offending = session.Offending();
  if (result == ':') return "option " + offending + " needs a value";
  if (optopt != 0 && optopt < 256)
    return std::string("unknown option -") + static_cast<char>(optopt);
  return "unknown option " + offending.substr(0, offending.find('='));
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  Invocation& invocation = parsed.invocation;
  unsigned given = 0;
  GetoptSession session(arguments);
  for (int result = session.Next(); result != -1; result = session.Next()) {
    switch (result) {
      case 'h':
        invocation.help = true;
        continue;
      case 'V':
        invocation.version = true;
        continue;
      case kFormat: {
        const auto format = FormatNamed(session.Value());
        if (!format) {
          parsed.error = "unknown format \"" + session.Value() + "\" (choose text, tsv or json)";
          return parsed;
        }
        invocation.format = *format;
        continue;
      }
      case kBaseUrl: {
        std::string url = session.Value();
        if (!StartsWith(url, "https://") && !StartsWith(url, "http://")) {
          parsed.error = "--base-url needs an http:// or https:// address";
          return parsed;
        }
        if (url.back() != '/') url += '/';
        invocation.baseUrl = url;
        continue;
      }
      case ':':
      case '?':
        parsed.error = OptionError(session, result);
        return parsed;
      default:
        break;
    }
    for (const PickSpec& pick : kPicks) {
      if (pick.code != result) continue;
      invocation.*pick.field = session.Value();
      given |= pick.bit;
    }
  }

  std::vector<std::string> operands = session.Operands();
  if (invocation.help || invocation.version) return parsed;
  if (operands.empty()) {
    parsed.error = "no command given";
    return parsed;
  }
  invocation.subcommand = FindSubcommand(operands.front());
  if (invocation.subcommand == nullptr) {
    parsed.error = "unknown command \"" + operands.front() + "\"";
    return parsed;
  }
  const Subcommand& command = *invocation.subcommand;
  operands.erase(operands.begin());
  if (static_cast<int>(operands.size()) != command.operandCount) {
    parsed.error = std::string(command.name) +
                   (operands.size() > static_cast<std::size_t>(command.operandCount)
                        ? ": unexpected argument \"" +
                              operands[static_cast<std::size_t>(command.operandCount)] + "\""
                        : " needs " + std::string(command.operands));
    return parsed;
  }
  invocation.operands = std::move(operands);
  for (const PickSpec& pick : kPicks) {
    if ((given & pick.bit) != 0 && (command.pickOptions & pick.bit) == 0) {
      parsed.error = std::string(pick.name) + " does not apply to " + std::string(command.name);
      return parsed;
    }
    if ((command.requiredPicks & pick.bit) != 0 && (given & pick.bit) == 0) {
      parsed.error = std::string(command.name) + " needs " + pick.name;
      return parsed;
    }
  }
  return parsed;
}

}  // namespace zendra::cli
