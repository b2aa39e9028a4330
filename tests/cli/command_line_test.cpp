#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "app/cli/subcommand.h"
#include "tests/cli/cli_fixture.h"

namespace zendra::cli {
namespace {

using Lines = std::vector<std::string>;

const Lines kHomePage{"GET /", "GET /"};

Lines Plus(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

TEST_F(CommandLineTest, CategoriesAsTextTsvAndJson) {
  const CommandResult text = Run({"categories"});
  EXPECT_EQ(text.status, kExitSuccess);
  EXPECT_EQ(text.out,
            "ID  id   软件类目\n"
            "1   c-1  系统\n"
            "2   c-2  办公\n"
            "3   c-3  空类\n");
  EXPECT_EQ(text.err, "");
  // Only the home page, with its redirect handshake.
  EXPECT_EQ(RequestLines(), kHomePage);

  EXPECT_EQ(Run({"categories", "--format", "tsv"}).out,
            "1\tc-1\t系统\n2\tc-2\t办公\n3\tc-3\t空类\n");
  const auto json = nlohmann::ordered_json::parse(Run({"--format=json", "categories"}).out);
  EXPECT_EQ(json, nlohmann::ordered_json::parse(R"([{"ID":"1","id":"c-1","软件类目":"系统"},
      {"ID":"2","id":"c-2","软件类目":"办公"},{"ID":"3","id":"c-3","软件类目":"空类"}])"));
}

TEST_F(CommandLineTest, EachListTakesOnlyTheStepsItNeeds) {
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
    Lines requests;
  };
  const std::vector<Case> cases{
      {{"products"},
       "ID  id   软件名称\n1   p-1  Zendra 服务器 2019\n2   p-2  Orbis Studio 2012\n",
       Plus(kHomePage, {"POST /Category/Index id=c-1"})},
      {{"products", "--category", "办公"},
       "ID  id   软件名称\n1   p-3  Lumen Office\n",
       Plus(kHomePage, {"POST /Category/Index id=c-2"})},
      // The languages without the files the window would load next.
      {{"languages"},
       "ID  id   语言版本\n1   l-1  简体中文\n2   l-2  English\n",
       Plus(kHomePage, {"POST /Category/Index id=c-1", "POST /Category/GetLang id=p-1"})},
      {{"languages", "--category", "c-2", "--product", "Lumen Office"},
       "ID  id   语言版本\n1   l-3  繁體中文\n",
       Plus(kHomePage, {"POST /Category/Index id=c-2", "POST /Category/GetLang id=p-3"})},
      {{"files", "--language", "English", "--format", "tsv"},
       "1\tzd_server_2019_en.iso\t" + std::string(40, 'D') + "\t1500\t2019-12-01\t" +
           site_.BaseUrl() + "download/zd_server_2019_en.iso\n",
       Plus(kHomePage, {"POST /Category/Index id=c-1", "POST /Category/GetLang id=p-1",
                        "POST /Category/GetList id=p-1&lang=l-2&filter=true",
                        "POST /Category/GetProduct id=f-4"})},
      {{"link", "--file", "服务器_arm.iso"},
       site_.BaseUrl() + "download/服务器_arm.iso\n",
       Plus(kHomePage, {"POST /Category/Index id=c-1", "POST /Category/GetLang id=p-1",
                        "POST /Category/GetList id=p-1&lang=l-1&filter=true",
                        "POST /Category/GetProduct id=f-1", "POST /Category/GetProduct id=f-2",
                        "POST /Category/GetProduct id=f-3"})},
      {{"sha1", "--category", "2", "--file", "1"},
       std::string(40, 'E') + "\n",
       Plus(kHomePage, {"POST /Category/Index id=c-2", "POST /Category/GetLang id=p-3",
                        "POST /Category/GetList id=p-3&lang=l-3&filter=true",
                        "POST /Category/GetProduct id=f-5"})},
  };
  for (const Case& c : cases) {
    site_.ClearLog();
    const CommandResult result = Run(c.arguments);
    const std::string line = testing::PrintToString(c.arguments);
    EXPECT_EQ(result.status, kExitSuccess) << line << result.err;
    EXPECT_EQ(result.out, c.out) << line;
    EXPECT_EQ(result.err, "") << line;
    EXPECT_EQ(RequestLines(), c.requests) << line;
  }
}

TEST_F(CommandLineTest, FilesAsTextAndJsonShowTheWindowsColumns) {
  const CommandResult text = Run({"files"});
  ASSERT_EQ(text.status, kExitSuccess) << text.err;
  const std::string base = site_.BaseUrl() + "download/";
  const std::string a(40, 'A'), b(40, 'B'), c(40, 'C');
  EXPECT_EQ(text.out,
            "ID  文件名                     SHA1                                      文件大小    "
            "发布时间    下载链接\n"
            "1   zd_server_2019_cn.iso      " +
                a + "  4781506560  2019-11-27  " + base +
                "zd_server_2019_cn.iso\n"
                "2   zd_server_2019_cn_x86.iso  " +
                b + "  3100000000  2019-11-28  " + base +
                "zd_server_2019_cn_x86.iso\n"
                "3   服务器_arm.iso             " +
                c + "  2900000000  2019-11-29  " + base + "服务器_arm.iso\n");

  const auto json = nlohmann::ordered_json::parse(Run({"files", "--format", "json"}).out);
  ASSERT_EQ(json.size(), 3u);
  EXPECT_EQ(json[2], nlohmann::ordered_json::parse(
                         R"({"ID":"3","文件名":"服务器_arm.iso","SHA1":")" + c +
                         R"(","文件大小":"2900000000","发布时间":"2019-11-29","下载链接":")" +
                         base + R"(服务器_arm.iso"})"));
  std::vector<std::string> keys;
  for (const auto& item : json[0].items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (Lines{"ID", "文件名", "SHA1", "文件大小", "发布时间", "下载链接"}));

  EXPECT_EQ(Run({"link", "--file", "2", "--format", "json"}).out,
            "{\n  \"下载链接\": \"" + base + "zd_server_2019_cn_x86.iso\"\n}\n");
}

TEST_F(CommandLineTest, EmptyListsAtTheEndOfTheCascadeAreNoError) {
  const CommandResult products = Run({"products", "--category", "空类", "--format", "json"});
  EXPECT_EQ(products.status, kExitSuccess);
  EXPECT_EQ(products.out, "[]\n");
  const CommandResult languages = Run({"languages", "--product", "Orbis Studio 2012"});
  EXPECT_EQ(languages.status, kExitSuccess);
  EXPECT_EQ(languages.out, "");
}

// The port of a socket that was bound and closed again: nothing listens there.
int ClosedPort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

TEST_F(CommandLineTest, SiteFailuresExitWithOneAndTheReason) {
  const std::string closed = "https://127.0.0.1:" + std::to_string(ClosedPort()) + "/";
  const CommandResult unreachable = RunAgainst({"categories", "--base-url", closed});
  EXPECT_EQ(unreachable.status, kExitNoCatalogue);
  EXPECT_EQ(unreachable.out, "");
  EXPECT_EQ(unreachable.err, "zendra: no catalogue from " + closed + ": site unreachable\n");

  site_.SetResponder([](const site::LoggedRequest&) {
    return site::Reply{.status = 503, .body = "busy", .contentType = "text/plain"};
  });
  const CommandResult busy = Run({"files"});
  EXPECT_EQ(busy.status, kExitNoCatalogue);
  EXPECT_EQ(busy.err, "zendra: no catalogue from " + site_.BaseUrl() + ": HTTP status 503\n");

  site_.SetResponder([](const site::LoggedRequest&) {
    return site::Reply{.body = "<html><body>maintenance</body></html>", .contentType = "text/html"};
  });
  const CommandResult empty = Run({"categories", "--format", "json"});
  EXPECT_EQ(empty.status, kExitNoCatalogue);
  EXPECT_EQ(empty.out, "");
  EXPECT_EQ(empty.err,
            "zendra: no catalogue from " + site_.BaseUrl() + ": no catalogue in the answer\n");
  site_.SetResponder(nullptr);

  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"languages", "--category", "3"}, "zendra: category \"空类\" has no products\n"},
      {{"files", "--product", "p-2"}, "zendra: product \"Orbis Studio 2012\" has no languages\n"},
      {{"link", "--product", "p-2", "--file", "1"},
       "zendra: product \"Orbis Studio 2012\" has no languages\n"},
  };
  for (const auto& [arguments, err] : cases) {
    const CommandResult result = Run(arguments);
    EXPECT_EQ(result.status, kExitNoCatalogue) << testing::PrintToString(arguments);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, err);
  }
}

TEST_F(CommandLineTest, AFileListThatBreaksOffPrintsItsRowsAndFails) {
  site_.FailDetails(2, site::DetailsFault::Fail);
  const CommandResult files = Run({"files", "--format", "tsv"});
  EXPECT_EQ(files.status, kExitNoCatalogue);
  EXPECT_EQ(files.out.rfind("1\tzd_server_2019_cn.iso\t", 0), 0u);
  EXPECT_EQ(std::count(files.out.begin(), files.out.end(), '\n'), 1);
  EXPECT_EQ(files.err, "zendra: only 1 of 3 file details could be read; the list ends there\n");

  // The file asked for lies beyond the break: the site's fault, not a usage error.
  site_.FailDetails(2, site::DetailsFault::Script);
  const CommandResult link = Run({"link", "--file", "服务器_arm.iso"});
  EXPECT_EQ(link.status, kExitNoCatalogue);
  EXPECT_EQ(link.err, "zendra: only 1 of 3 file details could be read; the list ends there\n");
  // One before the break is still found.
  site_.FailDetails(2, site::DetailsFault::Truncate);
  EXPECT_EQ(Run({"sha1", "--file", "1"}).out, std::string(40, 'A') + "\n");
}

TEST_F(CommandLineTest, UsageErrorsExitWithTwoBeforeAnyRequest) {
  for (const auto& arguments :
       std::vector<std::vector<std::string>>{{},
                                             {"catalog"},
                                             {"files", "--format", "yaml"},
                                             {"link"},
                                             {"categories", "--file", "1"}}) {
    const CommandResult result = Run(arguments);
    EXPECT_EQ(result.status, kExitUsage) << testing::PrintToString(arguments);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("\nTry 'zendra --help' for more information.\n"), std::string::npos);
  }
  EXPECT_TRUE(site_.Log().empty());
}

TEST_F(CommandLineTest, PicksThatNameNothingOrTooMuchExitWithTwo) {
  const CommandResult unknown = Run({"products", "--category", "Office"});
  EXPECT_EQ(unknown.status, kExitUsage);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err,
            "zendra: unknown category \"Office\"; choose one of:\n"
            "  ID  id   name\n"
            "  1   c-1  系统\n"
            "  2   c-2  办公\n"
            "  3   c-3  空类\n");
  // No request for a list that was never picked.
  EXPECT_EQ(RequestLines(), kHomePage);

  const CommandResult file = Run({"sha1", "--file", "4"});
  EXPECT_EQ(file.status, kExitUsage);
  EXPECT_EQ(file.err.rfind("zendra: unknown file \"4\"; choose one of:\n", 0), 0u) << file.err;
}

TEST_F(CommandLineTest, HelpAndVersion) {
  const CommandResult help = RunAgainst({"--help"});
  EXPECT_EQ(help.status, kExitSuccess);
  EXPECT_EQ(help.err, "");
  for (const Subcommand& command : Subcommands()) {
    EXPECT_NE(help.out.find("\n  " + std::string(command.name)), std::string::npos) << command.name;
  }
  EXPECT_NE(help.out.find("  link [--category C] [--product P] [--language L] --file NAME|ROW\n"),
            std::string::npos)
      << help.out;
  const CommandResult version = RunAgainst({"-V"});
  EXPECT_EQ(version.status, kExitSuccess);
  EXPECT_EQ(version.out.rfind("zendra ", 0), 0u);
}

TEST_F(CommandLineTest, ProgressOnlyOnATerminal) {
  const CommandResult piped = Run({"files"});
  EXPECT_EQ(piped.err, "");

  const CommandResult terminal = Run({"files"}, true);
  EXPECT_EQ(terminal.status, kExitSuccess);
  EXPECT_EQ(terminal.out, piped.out);
  EXPECT_EQ(
      terminal.err,
      "\r\x1b[K文件详情 0/3\r\x1b[K文件详情 1/3\r\x1b[K文件详情 2/3\r\x1b[K文件详情 3/3\r\x1b[K");
  // Nothing to show for the lists that load in one request.
  EXPECT_EQ(Run({"languages"}, true).err, "");
}

}  // namespace
}  // namespace zendra::cli
