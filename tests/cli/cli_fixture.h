#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cli/command_line.h"
#include "tests/support/small_catalogue.h"
#include "site/sample_site.h"

namespace zendra::cli {

// The small catalogue, with one file name in Chinese so column widths count double-width
// characters.
inline site::Catalogue CliCatalogue() {
  site::Catalogue catalogue = SmallCatalogue();
  catalogue.categories[0].products[0].languages[0].files[2].fileName = "服务器_arm.iso";
  return catalogue;
}

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CommandLineTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(site_.Start()); }

  // The command against this test's site.
  CommandResult Run(std::vector<std::string> arguments, bool errIsTerminal = false) {
    arguments.push_back("--base-url=" + site_.BaseUrl());
    return RunAgainst(arguments, errIsTerminal);
  }

  static CommandResult RunAgainst(const std::vector<std::string>& arguments,
                                  bool errIsTerminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    CommandResult result;
    result.status = RunCommandLine(arguments, {out, err, errIsTerminal});
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  std::vector<std::string> RequestLines() const {
    std::vector<std::string> lines;
    for (const auto& request : site_.Log()) lines.push_back(RequestLine(request));
    return lines;
  }

  site::SampleSite site_{CliCatalogue()};
};

}  // namespace zendra::cli
