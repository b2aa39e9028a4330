#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <functional>
#include <optional>
#include <string>

#include "app/catalogue/catalogue_browser.h"
#include "app/program_main.h"
#include "app/ui/main_window.h"
#include "site/sample_site.h"
#include "tests/support/test_server.h"

namespace zendra {
namespace {

struct StartResult {
  std::string note;       // the grey line in the file list
  std::string errorText;  // what went to standard error
  int categories = 0;
  int rows = 0;
  std::string linkEdit;
};

StartResult StartAgainst(const std::string& baseUrl) {
  MainWindow window;
  CatalogueBrowser browser(baseUrl, window);
  ::testing::internal::CaptureStderr();
  OnMainWindowCreated(window, browser);
  StartResult result;
  result.errorText = ::testing::internal::GetCapturedStderr();
  result.note = window.EmptyListNote().toStdString();
  result.categories = window.categoryCombo().count();
  result.rows = window.fileList().topLevelItemCount();
  result.linkEdit = window.linkEdit().text().toStdString();
  return result;
}

void ExpectEmptyStartSays(const StartResult& start, const std::string& reason,
                          const std::string& baseUrl) {
  EXPECT_EQ(start.note, "No catalogue: " + reason + " (" + baseUrl + ")");
  EXPECT_EQ(start.errorText, "zendra: no catalogue from " + baseUrl + ": " + reason + "\n");
  EXPECT_EQ(start.categories, 0);
  EXPECT_EQ(start.rows, 0);
  EXPECT_EQ(start.linkEdit, "");
}

TEST(EmptyCatalogue, NothingListensAtTheAddress) {
  site::SampleSite site;
  ASSERT_TRUE(site.Start());
  const std::string url = site.BaseUrl();
  site.Stop();
  ExpectEmptyStartSays(StartAgainst(url), "site unreachable", url);
}

TEST(EmptyCatalogue, PlainHttpWhereHttpsWasExpected) {
  testing::TestServer server(testing::TestServer::Scheme::Http);
  ASSERT_TRUE(server.IsRunning());
  const std::string url = "https://127.0.0.1:" + std::to_string(server.Port()) + "/";
  ExpectEmptyStartSays(StartAgainst(url), "TLS failure", url);
}

TEST(EmptyCatalogue, SiteAnswersWithoutACatalogue) {
  struct Case {
    int status;
    std::string body;
    std::string reason;
  };
  const Case cases[] = {
      {503, "busy", "HTTP status 503"},
      {404, "<html><head><title>Not Found</title></head></html>", "HTTP status 404"},
      {200, "<html><body>maintenance</body></html>", "no catalogue in the answer"},
      {200, "", "no catalogue in the answer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason + " / " + c.body);
    site::SampleSite site;
    site.SetResponder([&c](const site::LoggedRequest& request) -> std::optional<site::Reply> {
      if (request.path != "/") return std::nullopt;
      return site::Reply{.status = c.status, .body = c.body, .contentType = "text/html"};
    });
    ASSERT_TRUE(site.Start());
    ExpectEmptyStartSays(StartAgainst(site.BaseUrl()), c.reason, site.BaseUrl());
  }
}

TEST(EmptyCatalogue, FilledCatalogueSaysNothing) {
  site::SampleSite site;
  ASSERT_TRUE(site.Start());
  const StartResult start = StartAgainst(site.BaseUrl());
  EXPECT_GT(start.categories, 0);
  EXPECT_GT(start.rows, 0);
  EXPECT_EQ(start.note, "");
  EXPECT_EQ(start.errorText, "");
}

TEST(EmptyCatalogue, NoteGoesWhenRowsArrive) {
  MainWindow window;
  window.ShowEmptyListNote("No catalogue: test");
  EXPECT_EQ(window.EmptyListNote().toStdString(), "No catalogue: test");
  window.fileList().addTopLevelItem(new QTreeWidgetItem(QStringList{"1"}));
  EXPECT_EQ(window.EmptyListNote().toStdString(), "");
}

}  // namespace
}  // namespace zendra
