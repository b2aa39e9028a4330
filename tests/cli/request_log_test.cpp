// The site must not be able to tell the command line from the window: for the same
// picks, every request of the command is the one the window sends for that step.
#include <QComboBox>
#include <map>
#include <regex>

#include "app/catalogue/catalogue_browser.h"
#include "app/program_main.h"
#include "app/ui/main_window.h"
#include "tests/cli/cli_fixture.h"

namespace zendra::cli {
namespace {

// A request as compared: the cookie values the site made up at random are replaced by
// the order in which they first appear in their log, so two runs compare equal exactly
// when each carries its own cookies in the same places. Every other header counts.
struct WireRequest {
  std::string line;
  site::HeaderList headers;

  bool operator==(const WireRequest&) const = default;
};

std::vector<WireRequest> Normalised(const std::vector<site::LoggedRequest>& log) {
  static const std::regex token("(zd_[a-z]+)=([^;\\s]+)");
  std::map<std::string, int> seen;
  std::vector<WireRequest> requests;
  for (const auto& request : log) {
    WireRequest wire{RequestLine(request), {}};
    for (const auto& [name, value] : request.headers) {
      // The client's port says which connection carried the request, not what was asked.
      if (name == "REMOTE_PORT") continue;
      std::string normalised;
      auto last = value.cbegin();
      for (std::sregex_iterator it(value.begin(), value.end(), token), end; it != end; ++it) {
        const auto& match = *it;
        const int order = seen.emplace(match[2].str(), static_cast<int>(seen.size())).first->second;
        normalised.append(last, match[0].first);
        normalised += match[1].str() + "=<" + std::to_string(order) + ">";
        last = match[0].second;
      }
      normalised.append(last, value.cend());
      wire.headers.emplace_back(name, normalised);
    }
    requests.push_back(std::move(wire));
  }
  return requests;
}

std::ostream& operator<<(std::ostream& out, const WireRequest& request) {
  out << request.line;
  for (const auto& [name, value] : request.headers) out << "\n  " << name << ": " << value;
  return out;
}

class RequestLogTest : public CommandLineTest {
 protected:
  // The window started as the program starts it, then the user's picks in order: the
  // index of the item in each combo box, from the top of the cascade down.
  std::vector<site::LoggedRequest> WindowLog(
      const std::vector<std::pair<CatalogueList, int>>& picks) {
    site_.ClearLog();
    MainWindow window;
    CatalogueBrowser browser(site_.BaseUrl(), window);
    ConnectHandlers(window, browser);
    OnMainWindowCreated(window, browser);
    for (const auto& [list, index] : picks) {
      QComboBox& combo = list == CatalogueList::Categories ? window.categoryCombo()
                         : list == CatalogueList::Products ? window.productCombo()
                                                           : window.languageCombo();
      combo.setCurrentIndex(index);
      emit combo.activated(index);
    }
    return site_.Log();
  }

  std::vector<site::LoggedRequest> CommandLog(const std::vector<std::string>& arguments) {
    site_.ClearLog();
    const CommandResult result = Run(arguments);
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    return site_.Log();
  }

  // Each request of the command equals the window's last request with the same method,
  // path and body: the one that showed what the window ended up showing.
  static void ExpectSameRequestsPerStep(const std::vector<WireRequest>& window,
                                        const std::vector<WireRequest>& command) {
    // The home page and its repeats come first in both, one to one.
    for (std::size_t i = 0; i < 2 && i < command.size(); ++i) EXPECT_EQ(command[i], window[i]);
    for (std::size_t i = 2; i < command.size(); ++i) {
      const WireRequest* same = nullptr;
      for (const WireRequest& request : window) {
        if (request.line == command[i].line) same = &request;
      }
      ASSERT_NE(same, nullptr) << "the window never sent " << command[i].line;
      EXPECT_EQ(command[i], *same);
    }
  }
};

TEST_F(RequestLogTest, StartUpPicksSendTheWindowsStartUpRequests) {
  const auto window = Normalised(WindowLog({}));
  const auto command = Normalised(CommandLog({"files"}));
  // The same steps in the same order: the whole log is equal.
  EXPECT_EQ(command, window);
  ASSERT_EQ(command.size(), 8u);
  EXPECT_EQ(command[7].line, "POST /Category/GetProduct id=f-3");
}

TEST_F(RequestLogTest, PickedByNameSendsThePicksRequests) {
  const auto window =
      Normalised(WindowLog({{CatalogueList::Categories, 1}, {CatalogueList::Products, 0}}));
  const auto command =
      Normalised(CommandLog({"files", "--category", "办公", "--product", "Lumen Office"}));
  std::vector<std::string> lines;
  for (const auto& request : command) lines.push_back(request.line);
  EXPECT_EQ(lines, (std::vector<std::string>{"GET /", "GET /", "POST /Category/Index id=c-2",
                                             "POST /Category/GetLang id=p-3",
                                             "POST /Category/GetList id=p-3&lang=l-3&filter=true",
                                             "POST /Category/GetProduct id=f-5"}));
  ExpectSameRequestsPerStep(window, command);
}

TEST_F(RequestLogTest, PickedByIdAndPositionSendsThePicksRequests) {
  const auto window = Normalised(WindowLog({{CatalogueList::Categories, 0},
                                            {CatalogueList::Products, 0},
                                            {CatalogueList::Languages, 1}}));
  const auto command =
      Normalised(CommandLog({"link", "--category", "c-1", "--product", "1", "--language", "2",
                             "--file", "zd_server_2019_en.iso"}));
  std::vector<std::string> lines;
  for (const auto& request : command) lines.push_back(request.line);
  EXPECT_EQ(lines, (std::vector<std::string>{"GET /", "GET /", "POST /Category/Index id=c-1",
                                             "POST /Category/GetLang id=p-1",
                                             "POST /Category/GetList id=p-1&lang=l-2&filter=true",
                                             "POST /Category/GetProduct id=f-4"}));
  ExpectSameRequestsPerStep(window, command);
}

}  // namespace
}  // namespace zendra::cli
