// The cascade's ordering rules, seen through a view that records every call: what is
// emptied when, a repaint after each row, and nothing asked after the first bad details.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_browser.h"
#include "site/sample_site.h"
#include "tests/app/catalogue/recording_view.h"
#include "tests/support/small_catalogue.h"

namespace zendra {
namespace {

using Events = std::vector<RecordingView::Event>;

class CascadeOrderTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(site_.Start());
    browser_.emplace(site_.BaseUrl(), view_);
  }

  std::vector<std::string> RequestLines() const {
    std::vector<std::string> lines;
    for (const auto& request : site_.Log()) lines.push_back(RequestLine(request));
    return lines;
  }

  // Starts up, then forgets what start-up asked and showed.
  void StartUpAndForget() {
    browser_->OnMainWindowCreated();
    site_.ClearLog();
    view_.events.clear();
  }

  std::string Link(const std::string& file) const { return site_.BaseUrl() + "download/" + file; }

  site::SampleSite site_{SmallCatalogue()};
  RecordingView view_{[this] { return site_.Log().size(); }};
  std::optional<CatalogueBrowser> browser_;
};

TEST_F(CascadeOrderTest, StartUpShowsEachListOnceItsAnswerIsIn) {
  browser_->OnMainWindowCreated();
  EXPECT_EQ(view_.WithoutCells(),
            (Events{
                {"repaint", 0},
                {"busy", 0},
                {"fill categories: [系统] [办公] [空类]", 2},
                {"select categories 0", 2},
                {"fill products: [Zendra 服务器 2019] [Orbis Studio 2012]", 3},
                {"select products 0", 3},
                {"fill languages: [简体中文] [English]", 4},
                {"select languages 0", 4},
                // The old rows stay until the new file list is in.
                {"empty files", 5},
                {"link ", 5},
                {"add row 0", 6},
                {"repaint", 6},
                {"add row 1", 7},
                {"repaint", 7},
                {"add row 2", 8},
                {"repaint", 8},
                {"idle", 8},
            }));
}

TEST_F(CascadeOrderTest, EachRowIsCompleteBeforeItsRepaint) {
  browser_->OnMainWindowCreated();
  std::vector<std::string> firstRow;
  for (const auto& event : view_.events) {
    if (event.call == "add row 1") break;
    if (event.call.rfind("cell 0/", 0) == 0 || event.call == "repaint" || event.call == "add row 0")
      firstRow.push_back(event.call);
  }
  EXPECT_EQ(firstRow, (std::vector<std::string>{
                          "repaint",  // before start-up's requests
                          "add row 0",
                          "cell 0/0 1",
                          "cell 0/1 zd_server_2019_cn.iso",
                          "cell 0/2 " + std::string(40, 'A'),
                          "cell 0/3 4781506560",
                          "cell 0/4 2019-11-27",
                          "cell 0/5 " + Link("zd_server_2019_cn.iso"),
                          "repaint",
                      }));
}

TEST_F(CascadeOrderTest, PicksEmptyOnlyWhatLiesBelowThem) {
  StartUpAndForget();
  // In this order, each pick on what the one before left.
  const struct {
    const char* what;
    void (CatalogueBrowser::*pick)(std::int32_t);
    std::int32_t index;
    Events events;
  } cases[] = {
      // A product without languages: the placeholder, no files and no link, nothing asked.
      {"product without languages",
       &CatalogueBrowser::OnProductSelected,
       1,
       {{"busy", 0},
        {"fill languages: [没有数据！]", 1},
        {"empty files", 1},
        {"link ", 1},
        {"select languages 0", 1},
        {"idle", 1}}},
      // The placeholder is no language: its pick shows and asks nothing.
      {"placeholder", &CatalogueBrowser::OnLanguageSelected, 0, {}},
      // A category without products: its product list empties, the lists below stay.
      {"empty category",
       &CatalogueBrowser::OnCategorySelected,
       2,
       {{"busy", 0}, {"fill products:", 1}, {"select products 0", 1}, {"idle", 1}}},
      // An item past the ids has no id: only the busy state.
      {"item without id", &CatalogueBrowser::OnCategorySelected, 7, {{"busy", 0}, {"idle", 0}}},
  };
  for (const auto& c : cases) {
    view_.events.clear();
    site_.ClearLog();
    ((*browser_).*c.pick)(c.index);
    EXPECT_EQ(view_.events, c.events) << c.what;
  }
  EXPECT_EQ(browser_->State().CurrentProductId, "p-2");
  EXPECT_TRUE(browser_->State().ProductIds.empty());
}

TEST_F(CascadeOrderTest, NothingIsAskedAfterTheFirstBadDetails) {
  for (const DetailsFault fault :
       {DetailsFault::Fail, DetailsFault::Truncate, DetailsFault::Script}) {
    StartUpAndForget();
    site_.FailDetails(2, fault);
    browser_->OnLanguageSelected(0);

    EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                  "POST /Category/GetList id=p-1&lang=l-1&filter=true",
                                  "POST /Category/GetProduct id=f-1",
                                  "POST /Category/GetProduct id=f-2",
                              }))
        << static_cast<int>(fault);
    EXPECT_EQ(view_.WithoutCells(), (Events{{"busy", 0},
                                            {"empty files", 1},
                                            {"link ", 1},
                                            {"add row 0", 2},
                                            {"repaint", 2},
                                            {"idle", 3}}))
        << static_cast<int>(fault);
  }
}

TEST_F(CascadeOrderTest, DoubleClickShowsCopiesAndConfirms) {
  StartUpAndForget();
  const std::string second = Link("zd_server_2019_cn_x86.iso");
  const std::string confirmation = "message 提示： 下载链接复制到剪切板成功！";
  const struct {
    std::int32_t row;
    bool clipboardWorks;
    std::vector<std::string> calls;
  } cases[] = {
      {1, true, {"link " + second, "copy " + second, confirmation}},
      // Without a row the empty link is copied, and the copy is still confirmed.
      {-1, true, {"link ", "copy ", confirmation}},
      {3, true, {"link ", "copy ", confirmation}},
      // A clipboard that did not take the text gets no confirmation.
      {1, false, {"link " + second, "copy " + second}},
  };
  for (const auto& c : cases) {
    view_.events.clear();
    view_.clipboardWorks = c.clipboardWorks;
    browser_->OnFileDoubleClicked(c.row);
    std::vector<std::string> calls;
    for (const auto& event : view_.events) calls.push_back(event.call);
    EXPECT_EQ(calls, c.calls) << c.row << " " << c.clipboardWorks;
  }
  EXPECT_TRUE(site_.Log().empty());
}

}  // namespace
}  // namespace zendra
