#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cli/command_line.h"
#include "site/sample_site.h"

namespace zendra::cli {

// Three categories: one with a product without languages, one plain, one empty.
inline site::Catalogue CliCatalogue() {
  site::Catalogue catalogue;
  catalogue.categories = {
      {"c-1",
       "系统",
       {{"p-1",
         "Zendra 服务器 2019",
         {{"l-1",
           "简体中文",
           {{"f-1", "zd_server_2019_cn.iso", std::string(40, 'A'), 4781506560, "2019-11-27"},
            {"f-2", "zd_server_2019_cn_x86.iso", std::string(40, 'B'), 3100000000, "2019-11-28"},
            {"f-3", "服务器_arm.iso", std::string(40, 'C'), 2900000000, "2019-11-29"}}},
          {"l-2",
           "English",
           {{"f-4", "zd_server_2019_en.iso", std::string(40, 'D'), 1500, "2019-12-01"}}}}},
        {"p-2", "Orbis Studio 2012", {}}}},
      {"c-2",
       "办公",
       {{"p-3",
         "Lumen Office",
         {{"l-3", "繁體中文", {{"f-5", "lumen.iso", std::string(40, 'E'), 1, "2020-01-01"}}}}}}},
      {"c-3", "空类", {}},
  };
  return catalogue;
}

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string RequestLine(const site::LoggedRequest& request) {
  return request.method + " " + request.path + (request.body.empty() ? "" : " " + request.body);
}

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
