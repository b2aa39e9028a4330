// The browser against a site that answers badly: for each fault, no crash, no hang beyond
// the time-outs, the lists in the state the answers give, and no message shown.
#include <httplib.h>

#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/http/curl_http_request.h"
#include "platform/window/message_box_seam.h"
#include "tests/app/catalogue_fixture.h"
#include "web/cookie_merge.h"

namespace zendra {
namespace {

using namespace std::string_literals;

using site::Reply;

// The given reply for one path; every other path is answered by the site as usual.
std::optional<Reply> ReplyFor(const std::string& path, const std::string& wanted, Reply reply) {
  if (path != wanted) return std::nullopt;
  return reply;
}

class FaultTest : public CatalogueTest {
 protected:
  void StartUp() {
    ScopedMessageBoxInterceptor intercept([this](QMessageBox&) { ++shownMessages_; });
    CatalogueTest::StartUp();
  }

  void ExpectAllEmpty() {
    EXPECT_EQ(window_.categoryCombo().count(), 0);
    EXPECT_EQ(window_.productCombo().count(), 0);
    EXPECT_EQ(window_.languageCombo().count(), 0);
    EXPECT_EQ(window_.fileList().topLevelItemCount(), 0);
    EXPECT_TRUE(window_.linkEdit().text().isEmpty());
  }

  void TearDown() override {
    EXPECT_EQ(shownMessages_, 0);
    CatalogueTest::TearDown();
  }

  int shownMessages_ = 0;
};

TEST_F(FaultTest, ServerErrorsWithEmptyBodiesLeaveEveryListEmpty) {
  site_.SetResponder([](const LoggedRequest&) { return Reply{.status = 500}; });
  StartUp();
  ExpectAllEmpty();
  EXPECT_EQ(RequestLines(), std::vector<std::string>{"GET /"});
}

TEST_F(FaultTest, ErrorStatusBodiesAreStillRead) {
  // An HTTP error is no failure: the product answer is read whatever its status.
  site_.SetResponder([](const LoggedRequest& request) {
    return ReplyFor(request.path, "/Category/Index",
                    Reply{.status = 503, .body = R"({"result":[{"id":"p-9","name":"Aster"}]})"});
  });
  StartUp();
  EXPECT_EQ(ComboTexts(window_.productCombo()), std::vector<std::string>{"Aster"});
  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"没有数据！"});
}

TEST_F(FaultTest, MissingMarkersEndStartUpAfterTheHomePage) {
  site_.SetResponder([](const LoggedRequest& request) {
    return ReplyFor(request.path, "/",
                    Reply{.body = "<html>nothing here</html>", .contentType = "text/html"});
  });
  StartUp();
  ExpectAllEmpty();
  EXPECT_EQ(RequestLines(), std::vector<std::string>{"GET /"});
}

TEST_F(FaultTest, TruncatedAndInvalidProductAnswers) {
  const std::string languagesOfFirst = "POST /Category/GetLang id=p-1";
  const struct {
    std::string answer;
    std::optional<std::string> nextRequest;
  } cases[] = {
      // An id whose name never closes gives no item, yet that id is asked for next.
      {R"({"result":[{"id":"p-1","name":"Zen)", languagesOfFirst},
      // The zero byte cuts the answer to the same shape.
      {"{\"result\":[{\"id\":\"p-1\",\"name\":\"Zen\0dra\"}]}"s, languagesOfFirst},
      {"not json at all", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    FreshBrowser();
    site_.ClearLog();
    site_.SetResponder([&](const LoggedRequest& request) {
      return ReplyFor(request.path, "/Category/Index", Reply{.body = c.answer});
    });
    StartUp();
    EXPECT_EQ(window_.productCombo().count(), 0) << c.answer;
    // After the two home pages and the product query.
    const auto lines = RequestLines();
    const std::optional<std::string> next =
        lines.size() > 3 ? std::optional<std::string>(lines[3]) : std::nullopt;
    EXPECT_EQ(next, c.nextRequest) << c.answer;
  }
}

TEST_F(FaultTest, InvalidUtf8BecomesReplacementMarks) {
  site_.SetResponder([](const LoggedRequest& request) {
    return ReplyFor(request.path, "/Category/Index",
                    Reply{.body = "{\"result\":[{\"id\":\"p-1\",\"name\":\"A\xff\xfe"
                                  "B\"}]}"});
  });
  StartUp();
  const auto products = ComboTexts(window_.productCombo());
  ASSERT_EQ(products.size(), 1u);
  EXPECT_EQ(products[0], "A??B");
}

TEST_F(FaultTest, ZeroByteCutsTheAnswer) {
  // The language answer ends at the zero byte: the second language is lost.
  site_.SetResponder([](const LoggedRequest& request) {
    return ReplyFor(request.path, "/Category/GetLang",
                    Reply{.body = "{\"result\":[{\"id\":\"l-1\",\"lang\":\"简体中文\"}\0"
                                  ",{\"id\":\"l-2\",\"lang\":\"English\"}]}"s});
  });
  StartUp();
  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"简体中文"});
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 3);
}

TEST_F(FaultTest, HugeHomePageIsRefused) {
  site_.SetResponder([](const LoggedRequest& request) {
    return ReplyFor(request.path, "/",
                    Reply{.body = std::string(100u << 20, 'x'), .contentType = "text/html"});
  });
  StartUp();
  ExpectAllEmpty();
}

TEST_F(FaultTest, ThousandCookiesKeepTheLatestWithinBounds) {
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path != "/" || !request.Header("Cookie").empty()) return std::nullopt;
    Reply reply{.body = kRedirectPage, .contentType = "text/html"};
    for (int i = 0; i < 1000; ++i)
      reply.headers.emplace_back("Set-Cookie", "k" + std::to_string(i) + "=v; path=/");
    reply.headers.emplace_back("Set-Cookie", "zd_visit=1; path=/");
    return reply;
  });
  StartUp();
  // The cookies set last are kept, the first of the thousand dropped.
  const Text& cookies = State().SiteCookies;
  EXPECT_EQ(cookies.rfind("zd_session=", 0), 0u);
  EXPECT_NE(cookies.find("; k998=v; k999=v"), std::string::npos);
  EXPECT_EQ(cookies.find("k0=v"), std::string::npos);
  EXPECT_LE(SplitCookieItems(cookies).size(), kMaxCookiesPerSite);
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 3);
}

TEST_F(FaultTest, DuplicateIdsKeepTheirItems) {
  site_.SetResponder([](const LoggedRequest& request) {
    const std::string menu =
        R"(<h4><a data-menuid="c-1" data-target="#collapse_c-1" id="m_c-1">系统</a></h4></div><div id="collapse_c-1"></div>)";
    return ReplyFor(request.path, "/",
                    Reply{.body = "<html>" + menu + menu + "</html>", .contentType = "text/html"});
  });
  StartUp();
  EXPECT_EQ(ComboTexts(window_.categoryCombo()), (std::vector<std::string>{"系统", "系统"}));
}

TEST_F(FaultTest, StalledAnswerEndsAfterTheTimeOut) {
  ScopedTimeoutCap shortTimeOuts(std::chrono::milliseconds(1000));
  site_.SetStall(true);
  StartUp();
  ExpectAllEmpty();
  EXPECT_EQ(RequestLines().size(), 1u);
}

// A connection that dies before any answer byte leaves the site's state unknown: the
// request is not sent again on a new connection, it fails.
TEST_F(FaultTest, DroppedAnswerOnAReusedConnectionIsSentOnce) {
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path == "/Category/GetLang") return Reply{.dropConnection = true};
    return std::nullopt;
  });
  StartUp();
  const auto log = site_.Log();
  ASSERT_GE(log.size(), 3u);
  const auto& dropped = log.back();
  EXPECT_EQ(RequestLine(dropped), "POST /Category/GetLang id=p-1");
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const LoggedRequest& r) { return r.path == "/Category/GetLang"; }),
            1);
  // It went out on the connection of the request before it.
  EXPECT_EQ(dropped.remotePort, log[log.size() - 2].remotePort);
  // A failed send: no languages, and the cookies stay those of the earlier answers.
  EXPECT_EQ(ComboTexts(window_.languageCombo()), std::vector<std::string>{"没有数据！"});
  EXPECT_EQ(State().SiteCookies.rfind("zd_session=", 0), 0u);
  EXPECT_EQ(window_.fileList().topLevelItemCount(), 0);

  // Requests go on as before: the next pick gets its answer.
  site_.SetResponder(nullptr);
  Pick(window_.productCombo(), 0);
  EXPECT_EQ(ComboTexts(window_.languageCombo()), (std::vector<std::string>{"简体中文", "English"}));
}

TEST_F(FaultTest, SilentSiteGivesEmptyLists) {
  site_.SetSilent(true);
  StartUp();
  ExpectAllEmpty();
}

TEST(FaultWithoutSiteTest, RefusedConnectionAndFailedHandshake) {
  // Nothing listens on the first address; the second speaks plain HTTP, so the TLS
  // handshake fails.
  site::SampleSite closed;
  ASSERT_TRUE(closed.Start());
  const std::string refused = closed.BaseUrl();
  closed.Stop();

  httplib::Server plain;
  plain.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("<title>302 Found</title>", "text/html");
  });
  const int port = plain.bind_to_any_port("127.0.0.1");
  std::thread server([&] { plain.listen_after_bind(); });
  while (!plain.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  for (const std::string& url : {refused, "https://127.0.0.1:" + std::to_string(port) + "/"}) {
    MainWindow window;
    CatalogueBrowser browser(url, window);
    OnMainWindowCreated(window, browser);
    EXPECT_EQ(window.categoryCombo().count(), 0) << url;
    EXPECT_EQ(window.fileList().topLevelItemCount(), 0) << url;
    EXPECT_TRUE(browser.State().SiteCookies.empty()) << url;
  }
  plain.stop();
  server.join();
}

}  // namespace
}  // namespace zendra
