#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>

#include "platform/window/controls.h"
#include "platform/window/message_box_seam.h"
#include "tests/app/catalogue_fixture.h"

namespace zendra {
namespace {

TEST_F(CatalogueTest, StartUpFillsTheCascadeWithTheExactRequests) {
  StartUp();

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
  EXPECT_EQ(ComboTexts(window_.categoryCombo()),
            (std::vector<std::string>{"系统", "办公", "空类"}));
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
  EXPECT_EQ(State().CurrentProductId, "p-1");

  // Every request carries exactly the browser's user agent line.
  for (const auto& request : site_.Log())
    EXPECT_EQ(request.Header("User-Agent").rfind("Mozilla/5.0 (Windows NT 10.0; WOW64)", 0), 0u);
}

TEST_F(CatalogueTest, RedirectHandshakeCarriesMergedCookies) {
  StartUp();
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
  EXPECT_EQ(State().SiteCookies.rfind("zd_session=", 0), 0u) << State().SiteCookies;
  EXPECT_EQ(State().SiteCookies.substr(State().SiteCookies.find("; ") + 2), visit);
  for (std::size_t i = 2; i < log.size(); ++i)
    EXPECT_EQ(log[i].Header("Cookie"), State().SiteCookies);
}

TEST_F(CatalogueTest, PicksRefreshOnlyTheListsBelow) {
  StartUp();
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

TEST_F(CatalogueTest, GivenIdsNeedNoEarlierList) {
  // A fresh catalogue: every id array is empty, and a given id must not read them.
  browser().LoadProducts(Text("c-2"));
  browser().LoadLanguages(Text("p-3"));
  browser().LoadFiles(Text("l-3"));
  EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                "POST /Category/Index id=c-2",
                                "POST /Category/GetLang id=p-3",
                                "POST /Category/GetList id=p-3&lang=l-3&filter=true",
                                "POST /Category/GetProduct id=f-5",
                                "POST /Category/GetList id=p-3&lang=l-3&filter=true",
                                "POST /Category/GetProduct id=f-5",
                            }));
  EXPECT_EQ(Rows(window_.fileList()).size(), 1u);
}

TEST_F(CatalogueTest, CategoryWithoutProductsEmptiesOnlyTheProductList) {
  StartUp();
  Pick(window_.categoryCombo(), 2);
  EXPECT_EQ(window_.productCombo().count(), 0);
  EXPECT_EQ(window_.productCombo().currentIndex(), -1);
  EXPECT_EQ(window_.languageCombo().count(), 2);
  EXPECT_EQ(Rows(window_.fileList()).size(), 3u);
}

TEST_F(CatalogueTest, ProductWithoutLanguagesShowsNoData) {
  StartUp();
  window_.linkEdit().setText("old link");
  Pick(window_.productCombo(), 1);

  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"没有数据！"});
  EXPECT_EQ(window_.languageCombo().currentIndex(), 0);
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 0);
  EXPECT_TRUE(window_.linkEdit().text().isEmpty());
  EXPECT_TRUE(State().LanguageIds.empty());
  EXPECT_EQ(State().CurrentProductId, "p-2");

  // Picking the placeholder asks nothing and changes nothing.
  site_.ClearLog();
  Pick(window_.languageCombo(), 0);
  EXPECT_TRUE(site_.Log().empty());
  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"没有数据！"});
}

TEST_F(CatalogueTest, DetailsFailureEndsTheListAtThatFile) {
  for (const DetailsFault fault :
       {DetailsFault::Fail, DetailsFault::Truncate, DetailsFault::Script}) {
    FreshBrowser();
    site_.ClearLog();
    site_.FailDetails(2, fault);
    StartUp();

    const auto rows = Rows(window_.fileList());
    ASSERT_EQ(rows.size(), 1u) << static_cast<int>(fault);
    EXPECT_EQ(rows[0][0], "1");
    const auto lines = RequestLines();
    EXPECT_EQ(lines.back(), "POST /Category/GetProduct id=f-2")
        << "the third file is not asked for";
  }
}

TEST_F(CatalogueTest, DoubleClickCopiesTheSelectedLink) {
  StartUp();
  std::vector<std::pair<std::string, std::string>> shown;
  ScopedMessageBoxInterceptor intercept([&](QMessageBox& box) {
    shown.emplace_back(box.text().toStdString(), box.windowTitle().toStdString());
  });

  QTreeWidget& files = window_.fileList();
  files.setCurrentItem(files.topLevelItem(1), 2);
  site_.ClearLog();
  emit window_.fileListDoubleClicked(GetCurrentSelection(window_.fileList()));
  const std::string link = site_.BaseUrl() + "download/zd_server_2019_cn_x86.iso";
  EXPECT_EQ(window_.linkEdit().text().toStdString(), link);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), link);
  EXPECT_TRUE(site_.Log().empty());

  // Without a selected row the empty text is copied, and the copy is still confirmed.
  files.clearSelection();
  emit window_.fileListDoubleClicked(GetCurrentSelection(window_.fileList()));
  EXPECT_TRUE(window_.linkEdit().text().isEmpty());
  EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());

  const std::pair<std::string, std::string> confirmation{"下载链接复制到剪切板成功！", "提示："};
  EXPECT_EQ(shown, (std::vector<std::pair<std::string, std::string>>{confirmation, confirmation}));
}

TEST_F(CatalogueTest, RedirectPageForeverIsAskedAtMostElevenTimes) {
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<site::Reply> {
    if (request.path != "/") return std::nullopt;
    return site::Reply{.status = 200, .body = kRedirectPage, .contentType = "text/html"};
  });
  StartUp();
  EXPECT_EQ(RequestLines(), std::vector<std::string>(11, "GET /"));
  EXPECT_EQ(window_.categoryCombo().count(), 0);
  EXPECT_EQ(window_.productCombo().count(), 0);
}

}  // namespace
}  // namespace zendra
