#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "platform/automation/com_init.h"
#include "tests/support/test_server.h"
#include "web/decode_response_text.h"
#include "web/web_request.h"

namespace zendra {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::Reply;
using testing::TestServer;

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class WebRequestWireTest : public ::testing::Test {
 protected:
  TestServer server;  // HTTPS with a self-signed certificate
};

TEST_F(WebRequestWireTest, CookiesAreKeptAndSentAcrossRequests) {
  server.Answer("/", Reply{.body = "home",
                           .headers = {{"Set-Cookie", "sid=abc; Path=/; HttpOnly"},
                                       {"Set-Cookie", "lang=zh"}}});
  server.Answer("/Category/GetLang", Reply{.body = "[]", .headers = {{"Set-Cookie", "sid=def"}}});

  Text cookies;
  Text returned;
  std::int32_t status = 0;
  EXPECT_EQ(
      AsString(WebRequest(server.Url("/"),
                          {.cookies = &cookies, .returnedCookies = &returned, .status = &status})),
      "home");
  EXPECT_EQ(status, 200);
  EXPECT_EQ(cookies, "sid=abc; lang=zh");
  EXPECT_EQ(returned, cookies);

  WebRequest(server.Url("/Category/GetLang"), {.method = 1, .body = "id=5", .cookies = &cookies});
  EXPECT_EQ(cookies, "sid=def; lang=zh");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].HeaderCount("Cookie"), 0u);  // an empty cookie text sends none
  EXPECT_EQ(requests[1].Header("Cookie"), "sid=abc; lang=zh");
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].body, "id=5");
}

TEST(WebRequestWire, RequestHeadOnTheWire) {
  TestServer server(TestServer::Scheme::Http);
  server.Answer("/Category/GetList", Reply{.body = "{}"});
  Text cookies = "sid=1";
  const Text url = server.Url("/Category/GetList");
  WebRequest(url, {.method = 1,
                   .body = "id=1&lang=2&filter=true",
                   .cookies = &cookies,
                   .headers = "user-agent: Zendra\r\nConnection: keep-alive\r\nX-Extra: 1"});
  const auto raw = server.RawRequests();
  ASSERT_EQ(raw.size(), 1u);
  EXPECT_EQ(raw[0],
            "POST /Category/GetList HTTP/1.1\r\n"
            "Host: 127.0.0.1:" +
                std::to_string(server.Port()) +
                "\r\n"
                "Cookie: sid=1\r\n"
                "User-Agent: Zendra\r\n"
                "X-Extra: 1\r\n"
                "Accept: */*\r\n"
                "Referer: " +
                url +
                "\r\n"
                "Accept-Language: zh-cn\r\n"
                "Content-Type: application/x-www-form-urlencoded\r\n"
                "Content-Length: 23");
}

TEST_F(WebRequestWireTest, RedirectsFollowedOrReturned) {
  server.Answer("/old", Reply{.status = 302,
                              .body = "<title>302 Found</title>",
                              .headers = {{"Location", "/new"}, {"Set-Cookie", "hop=1"}}});
  server.Answer("/new", Reply{.body = "new page"});

  Text headers;
  std::int32_t status = 0;
  EXPECT_EQ(
      AsString(WebRequest(server.Url("/old"), {.responseHeaders = &headers, .status = &status})),
      "new page");
  EXPECT_EQ(status, 200);
  EXPECT_THAT(headers, Not(HasSubstr("Location")));

  Text returned;
  EXPECT_EQ(AsString(WebRequest(server.Url("/old"), {.returnedCookies = &returned,
                                                     .responseHeaders = &headers,
                                                     .status = &status,
                                                     .noRedirect = true})),
            "<title>302 Found</title>");
  EXPECT_EQ(status, 302);
  EXPECT_THAT(headers, HasSubstr("Location: /new"));
  EXPECT_EQ(returned, "hop=1");
}

TEST_F(WebRequestWireTest, ErrorStatusStillReturnsTheBody) {
  server.Answer("/gone", Reply{.status = 404, .body = "no such page"});
  std::int32_t status = 0;
  EXPECT_EQ(AsString(WebRequest(server.Url("/gone"), {.status = &status})), "no such page");
  EXPECT_EQ(status, 404);
}

TEST_F(WebRequestWireTest, Utf8AnswerDecodesToProgramText) {
  server.Answer("/zh", Reply{.body = "\xE4\xB8\xAD\xE6\x96\x87"});
  EXPECT_EQ(DecodeResponseText(WebRequest(server.Url("/zh"))), "\xD6\xD0\xCE\xC4");
}

TEST(WebRequestWire, RefusedConnectionGivesEmptyValues) {
  int port = 0;
  {
    TestServer closed(TestServer::Scheme::Http);
    port = closed.Port();
  }
  Text headers = "stale";
  Text cookies = "a=1;";
  std::int32_t status = -1;
  const int before = AutomationInitCount();
  EXPECT_THAT(WebRequest("http://127.0.0.1:" + std::to_string(port) + "/",
                         {.cookies = &cookies, .responseHeaders = &headers, .status = &status}),
              IsEmpty());
  EXPECT_EQ(AutomationInitCount(), before);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(headers, "");
  EXPECT_EQ(cookies, "a=1");
}

TEST_F(WebRequestWireTest, StalledAnswerEndsAfterTheTimeout) {
  // The answer comes within the 15 s default, so only the one-second setting fails it.
  server.Answer("/stall", Reply{.body = "late",
                                .stall = Reply::Stall::BeforeHeaders,
                                .stallFor = std::chrono::seconds(10)});
  std::int32_t status = -1;
  EXPECT_THAT(WebRequest(server.Url("/stall"), {.status = &status, .timeoutSeconds = 1}),
              IsEmpty());
  EXPECT_EQ(status, 0);
}

TEST(WebRequestWire, ProxyCredentialsGoToTheProxy) {
  TestServer proxy(TestServer::Scheme::Http);
  WebRequest("http://catalogue.invalid/x", {.proxy = "127.0.0.1:" + std::to_string(proxy.Port()),
                                            .timeoutSeconds = 5,
                                            .proxyUser = "u",
                                            .proxyPassword = "p"});
  const auto raw = proxy.RawRequests();
  ASSERT_EQ(raw.size(), 1u);
  EXPECT_THAT(raw[0], HasSubstr("GET http://catalogue.invalid/x HTTP/1.1\r\n"));
  EXPECT_THAT(raw[0], HasSubstr("\r\nProxy-Authorization: Basic dTpw"));
}

}  // namespace
}  // namespace zendra
