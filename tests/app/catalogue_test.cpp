#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/fixed_values.h"
#include "app/globals.h"
#include "app/handlers.h"
#include "app/main_window.h"
#include "app/program_main.h"
#include "platform/codepage/code_page.h"
#include "platform/window/message_box_seam.h"
#include "site/sample_site.h"

namespace zendra {
namespace {

using site::Catalogue;
using site::DetailsFault;
using site::LoggedRequest;

// Three categories: one with a product without languages, one plain, one empty.
Catalogue SmallCatalogue() {
  Catalogue catalogue;
  catalogue.categories = {
      {"c-1",
       "系统",
       {{"p-1",
         "Zendra 服务器 2019",
         {{"l-1",
           "简体中文",
           {{"f-1", "zd_server_2019_cn.iso", std::string(40, 'A'), 4781506560, "2019-11-27"},
            {"f-2", "zd_server_2019_cn_x86.iso", std::string(40, 'B'), 3100000000, "2019-11-28"},
            {"f-3", "zd_server_2019_cn_arm.iso", std::string(40, 'C'), 2900000000, "2019-11-29"}}},
          {"l-2", "English", {{"f-4", "zd_server_2019_en.iso", std::string(40, 'D'), 1500, "2019-12-01"}}}}},
        {"p-2", "Orbis Studio 2012", {}}}},
      {"c-2", "办公", {{"p-3", "Lumen Office", {{"l-3", "繁體中文", {{"f-5", "lumen.iso", std::string(40, 'E'), 1, "2020-01-01"}}}}}}},
      {"c-3", "空类", {}},
  };
  return catalogue;
}

std::vector<std::string> ComboTexts(const QComboBox& combo) {
  std::vector<std::string> texts;
  for (int i = 0; i < combo.count(); ++i) texts.push_back(combo.itemText(i).toStdString());
  return texts;
}

std::vector<std::vector<std::string>> Rows(const QTreeWidget& list) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < list.topLevelItemCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < 6; ++c) row.push_back(list.topLevelItem(r)->text(c).toStdString());
    rows.push_back(row);
  }
  return rows;
}

std::string RequestLine(const LoggedRequest& request) {
  return request.method + " " + request.path + (request.body.empty() ? "" : " " + request.body);
}

class CatalogueTest : public testing::Test {
 protected:
  explicit CatalogueTest(Catalogue catalogue = SmallCatalogue()) : site_(std::move(catalogue)) {}

  void SetUp() override {
    ASSERT_TRUE(site_.Start());
    baseUrl_.emplace(site_.BaseUrl());
    CreateGlobals();
    ConnectHandlers(window_);
  }
  void TearDown() override { FreeGlobals(); }

  std::vector<std::string> RequestLines() const {
    std::vector<std::string> lines;
    for (const auto& request : site_.Log()) lines.push_back(RequestLine(request));
    return lines;
  }

  // A user's own pick: the item becomes current, then the toolkit reports the pick.
  static void Pick(QComboBox& combo, int index) {
    combo.setCurrentIndex(index);
    emit combo.activated(index);
  }

  site::SampleSite site_;
  std::optional<ScopedCatalogueBaseUrl> baseUrl_;
  MainWindow window_;
};

const std::vector<std::string> kFirstLanguageRows = {"1", "2", "3"};

TEST_F(CatalogueTest, StartUpFillsTheCascadeWithTheExactRequests) {
  OnMainWindowCreated(window_);

  EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                "GET /",
                                "GET /",
                                "POST /Category/Index id=c-1",
                                "POST /Category/GetLang id=p-1",
                                "POST /Category/GetList id=p-1&lang=l-1&filter=true",
                                "POST /Category/GetProduct id=f-1",
                                "POST /Category/GetProduct id=f-2",
                                "POST /Category/GetProduct id=f-3",
                            }));
  EXPECT_EQ(ComboTexts(window_.categoryCombo()), (std::vector<std::string>{"系统", "办公", "空类"}));
  EXPECT_EQ(ComboTexts(window_.productCombo()),
            (std::vector<std::string>{"Zendra 服务器 2019", "Orbis Studio 2012"}));
  EXPECT_EQ(ComboTexts(window_.languageCombo()), (std::vector<std::string>{"简体中文", "English"}));
  for (QComboBox* combo :
       {&window_.categoryCombo(), &window_.productCombo(), &window_.languageCombo()})
    EXPECT_EQ(combo->currentIndex(), 0);

  const auto rows = Rows(window_.fileList());
  ASSERT_EQ(rows.size(), 3u);
  const std::string link = site_.BaseUrl() + "download/zd_server_2019_cn.iso";
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "zd_server_2019_cn.iso", std::string(40, 'A'),
                                               "4781506560", "2019-11-27", link}));
  EXPECT_EQ(rows[2][0], "3");
  EXPECT_EQ(CurrentProductId, "p-1");

  // Every request carries exactly the browser's user agent line.
  for (const auto& request : site_.Log())
    EXPECT_EQ(request.Header("User-Agent").rfind("Mozilla/5.0 (Windows NT 10.0; WOW64)", 0), 0u);
}

TEST_F(CatalogueTest, RedirectHandshakeCarriesMergedCookies) {
  OnMainWindowCreated(window_);
  const auto log = site_.Log();
  ASSERT_GE(log.size(), 3u);

  EXPECT_TRUE(log[0].Header("Cookie").empty());
  // The first answer's cookies go back as they were set.
  const std::string firstCookies = log[1].Header("Cookie");
  EXPECT_EQ(firstCookies.rfind("zd_visit=", 0), 0u) << firstCookies;
  EXPECT_NE(firstCookies.find("; zd_probe=1"), std::string::npos) << firstCookies;

  // The home page sets a session and deletes the probe: the session comes first, the
  // visit stays, the probe is gone.
  const std::string visit = firstCookies.substr(0, firstCookies.find(';'));
  EXPECT_EQ(SiteCookies.rfind("zd_session=", 0), 0u) << SiteCookies;
  EXPECT_EQ(SiteCookies.substr(SiteCookies.find("; ") + 2), visit);
  for (std::size_t i = 2; i < log.size(); ++i) EXPECT_EQ(log[i].Header("Cookie"), SiteCookies);
}

TEST_F(CatalogueTest, PicksRefreshOnlyTheListsBelow) {
  OnMainWindowCreated(window_);
  site_.ClearLog();

  Pick(window_.categoryCombo(), 1);
  EXPECT_EQ(RequestLines(), std::vector<std::string>{"POST /Category/Index id=c-2"});
  EXPECT_EQ(ComboTexts(window_.productCombo()), std::vector<std::string>{"Lumen Office"});
  EXPECT_EQ(window_.productCombo().currentIndex(), 0);
  EXPECT_EQ(ComboTexts(window_.languageCombo()), (std::vector<std::string>{"简体中文", "English"}));
  EXPECT_EQ(Rows(window_.fileList()).size(), 3u);

  site_.ClearLog();
  Pick(window_.productCombo(), 0);
  EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                "POST /Category/GetLang id=p-3",
                                "POST /Category/GetList id=p-3&lang=l-3&filter=true",
                                "POST /Category/GetProduct id=f-5",
                            }));
  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"繁體中文"});
  EXPECT_EQ(Rows(window_.fileList()).at(0).at(1), "lumen.iso");

  // Back to the first product, then its second language.
  Pick(window_.categoryCombo(), 0);
  Pick(window_.productCombo(), 0);
  site_.ClearLog();
  Pick(window_.languageCombo(), 1);
  EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                "POST /Category/GetList id=p-1&lang=l-2&filter=true",
                                "POST /Category/GetProduct id=f-4",
                            }));
  const auto rows = Rows(window_.fileList());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(rows[0][3], "1500");
}

TEST_F(CatalogueTest, CategoryWithoutProductsEmptiesOnlyTheProductList) {
  OnMainWindowCreated(window_);
  Pick(window_.categoryCombo(), 2);
  EXPECT_EQ(window_.productCombo().count(), 0);
  EXPECT_EQ(window_.productCombo().currentIndex(), -1);
  EXPECT_EQ(window_.languageCombo().count(), 2);
  EXPECT_EQ(Rows(window_.fileList()).size(), 3u);
}

TEST_F(CatalogueTest, ProductWithoutLanguagesShowsNoData) {
  OnMainWindowCreated(window_);
  window_.linkEdit().setText("old link");
  Pick(window_.productCombo(), 1);

  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"没有数据！"});
  EXPECT_EQ(window_.languageCombo().currentIndex(), 0);
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 0);
  EXPECT_TRUE(window_.linkEdit().text().isEmpty());
  EXPECT_TRUE(LanguageIds.empty());
  EXPECT_EQ(CurrentProductId, "p-2");

  // Picking the placeholder asks nothing and changes nothing.
  site_.ClearLog();
  Pick(window_.languageCombo(), 0);
  EXPECT_TRUE(site_.Log().empty());
  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"没有数据！"});
}

TEST_F(CatalogueTest, DetailsFailureEndsTheListAtThatFile) {
  for (const DetailsFault fault : {DetailsFault::Fail, DetailsFault::Truncate, DetailsFault::Script}) {
    CreateGlobals();
    window_.categoryCombo().clear();
    site_.ClearLog();
    site_.FailDetails(2, fault);
    OnMainWindowCreated(window_);

    const auto rows = Rows(window_.fileList());
    ASSERT_EQ(rows.size(), 1u) << static_cast<int>(fault);
    EXPECT_EQ(rows[0][0], "1");
    const auto lines = RequestLines();
    EXPECT_EQ(lines.back(), "POST /Category/GetProduct id=f-2") << "the third file is not asked for";
  }
}

TEST_F(CatalogueTest, DoubleClickCopiesTheSelectedLink) {
  OnMainWindowCreated(window_);
  std::vector<std::pair<std::string, std::string>> shown;
  ScopedMessageBoxInterceptor intercept([&](QMessageBox& box) {
    shown.emplace_back(box.text().toStdString(), box.windowTitle().toStdString());
  });

  QTreeWidget& files = window_.fileList();
  files.setCurrentItem(files.topLevelItem(1), 2);
  site_.ClearLog();
  OnFileDoubleClicked(window_);
  const std::string link = site_.BaseUrl() + "download/zd_server_2019_cn_x86.iso";
  EXPECT_EQ(window_.linkEdit().text().toStdString(), link);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), link);
  EXPECT_TRUE(site_.Log().empty());

  // Without a selected row the empty text is copied, and the copy is still confirmed.
  files.clearSelection();
  OnFileDoubleClicked(window_);
  EXPECT_TRUE(window_.linkEdit().text().isEmpty());
  EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());

  const std::pair<std::string, std::string> confirmation{"下载链接复制到剪切板成功！", "提示："};
  EXPECT_EQ(shown, (std::vector<std::pair<std::string, std::string>>{confirmation, confirmation}));
}

TEST_F(CatalogueTest, RedirectPageForeverIsAskedAtMostElevenTimes) {
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<site::Reply> {
    if (request.path != "/") return std::nullopt;
    return site::Reply{.status = 200,
                       .body = "<html><head><title>302 Found</title></head></html>",
                       .contentType = "text/html"};
  });
  OnMainWindowCreated(window_);
  EXPECT_EQ(RequestLines(), std::vector<std::string>(11, "GET /"));
  EXPECT_EQ(window_.categoryCombo().count(), 0);
  EXPECT_EQ(window_.productCombo().count(), 0);
}

TEST(CatalogueUnreachableTest, StartUpEndsQuietlyWithEmptyLists) {
  site::SampleSite site;
  ASSERT_TRUE(site.Start());
  const std::string url = site.BaseUrl();
  site.Stop();  // nothing listens there any more
  ScopedCatalogueBaseUrl baseUrl(url);
  CreateGlobals();
  MainWindow window;
  OnMainWindowCreated(window);
  EXPECT_EQ(window.categoryCombo().count(), 0);
  EXPECT_EQ(window.productCombo().count(), 0);
  EXPECT_EQ(window.languageCombo().count(), 0);
  EXPECT_EQ(window.fileList().topLevelItemCount(), 0);
  EXPECT_TRUE(SiteCookies.empty());
  FreeGlobals();
}

}  // namespace
}  // namespace zendra
