#include "web/web_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/automation/com_init.h"
#include "platform/automation/factories.h"
#include "tests/support/recording_http_request.h"

namespace zendra {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingHttpRequest;

constexpr const char* kUrl = "https://h.test/Category/GetLang";
constexpr const char* kUserAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Each request runs on a recording fake; the automation count must balance afterwards.
class WebRequestTest : public ::testing::Test {
 protected:
  Bytes Run(WebRequestOptions options) {
    options.requestObject = ObjectRef<HttpRequest>(fake);
    const int before = AutomationInitCount();
    Bytes body = WebRequest(kUrl, options);
    EXPECT_EQ(AutomationInitCount(), before);
    return body;
  }

  std::shared_ptr<RecordingHttpRequest> fake = std::make_shared<RecordingHttpRequest>();
};

TEST_F(WebRequestTest, PostWithoutHeadersMakesTheCallsInOrder) {
  Run({.method = 1, .body = "id=5"});
  EXPECT_THAT(fake->calls,
              ElementsAre("SetTimeouts[15000][15000][15000][15000]",
                          std::string("Open[POST][") + kUrl + "][false]", "Option[4][13056]",
                          "SetRequestHeader[Accept][*/*]",
                          std::string("SetRequestHeader[Referer][") + kUrl + "]",
                          "SetRequestHeader[Accept-Language][zh-cn]",
                          "SetRequestHeader[User-Agent][Mozilla/4.0 (compatible; MSIE 9.0; "
                          "Windows NT 6.1)]",
                          "SetRequestHeader[Content-Type][application/x-www-form-urlencoded]",
                          "Send[text:id=5]"));
}

TEST_F(WebRequestTest, MethodTable) {
  const std::pair<std::optional<std::int32_t>, const char*> cases[] = {
      {std::nullopt, "GET"}, {0, "GET"},   {1, "POST"},    {2, "HEAD"}, {3, "PUT"},  {4, "OPTIONS"},
      {5, "DELETE"},         {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"},  {-1, "GET"},
  };
  for (const auto& [method, name] : cases) {
    fake->calls.clear();
    Run({.method = method});
    EXPECT_EQ(fake->calls.at(1), std::string("Open[") + name + "][" + kUrl + "][false]");
  }
}

TEST_F(WebRequestTest, Timeouts) {
  const std::pair<std::optional<std::int32_t>, const char*> cases[] = {
      {std::nullopt, "SetTimeouts[15000][15000][15000][15000]"},
      {0, "SetTimeouts[15000][15000][15000][15000]"},
      {30, "SetTimeouts[30000][30000][30000][30000]"},
      {-7, "SetTimeouts[15000][15000][15000][15000]"},
      // Saturates instead of overflowing.
      {3000000, "SetTimeouts[2147483647][2147483647][2147483647][2147483647]"},
  };
  for (const auto& [seconds, expected] : cases) {
    fake->calls.clear();
    Run({.timeoutSeconds = seconds});
    EXPECT_EQ(fake->calls.front(), expected);
  }
  fake->calls.clear();
  Run({.timeoutSeconds = -1});
  EXPECT_EQ(fake->calls.front(), std::string("Open[GET][") + kUrl + "][false]");
}

TEST_F(WebRequestTest, CallerHeadersComeFirstAndDefaultsFillTheGaps) {
  Run({.headers = "User-Agent: X\r\n"});
  EXPECT_THAT(fake->Headers(),
              ElementsAre("User-Agent: X", "Accept: */*", std::string("Referer: ") + kUrl,
                          "Accept-Language: zh-cn"));
}

TEST_F(WebRequestTest, DefaultKeysAreFoundAnywhereWithoutCase) {
  Run({.method = 1, .headers = "X-Note: ACCEPT: no\r\ncontent-type: text/plain"});
  EXPECT_THAT(fake->Headers(),
              ElementsAre("X-Note: ACCEPT: no", "Content-Type: text/plain",
                          std::string("Referer: ") + kUrl, "Accept-Language: zh-cn", kUserAgent));
}

TEST_F(WebRequestTest, ConnectionKeepAliveLine) {
  struct Case {
    const char* headers;
    bool normalise;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"A: 1\r\nConnection: keep-alive\r\nB: 2", true, {"A: 1", "B: 2"}},
      {"A: 1\r\nConnection: Keep-Alive", true, {"A: 1", "Connection: Keep-Alive"}},
      {"A: 1\r\nconnection: keep-alive", false, {"A: 1", "connection: keep-alive"}},
      {"A: 1\r\nconnection: keep-alive", true, {"A: 1"}},
      // A single line is sent as it is, the rule applies only among several lines.
      {"Connection: keep-alive", true, {"Connection: keep-alive"}},
      {"a: 1\r\n\r\nb", false, {"a: 1", ": "}},
  };
  for (const auto& c : cases) {
    fake->calls.clear();
    Run({.headers = c.headers, .addDefaultHeaders = false, .normaliseHeaders = c.normalise});
    EXPECT_EQ(fake->Headers(), c.expected) << c.headers;
  }
}

TEST_F(WebRequestTest, NoHeadersAtAllStillMakesOneEmptyCall) {
  Run({.addDefaultHeaders = false});
  EXPECT_THAT(fake->Headers(), ElementsAre(": "));
}

TEST_F(WebRequestTest, CookieHeader) {
  struct Case {
    Text cookies;
    bool merge;
    const char* sent;
    const char* after;
  };
  const Case cases[] = {
      {"Cookie: a=1", false, "Cookie:  a=1", " a=1"},
      {"Cookie: a=1", true, "Cookie:  a=1", "a=1"},
      {"cookie: a=1; COOKIE: b=2", false, "Cookie:  a=1;  b=2", " a=1;  b=2"},
      {"", true, "Cookie: ", ""},
      {"a=1;", true, "Cookie: a=1;", "a=1"},
      // An item that cannot travel is left out; the others still go.
      {"a=1; bad=x\ry; b=2", false, "Cookie: a=1; b=2", "a=1; bad=x\ry; b=2"},
      {"a=1; bad=x\ry; b=2", true, "Cookie: a=1; b=2", "a=1; b=2"},
  };
  for (const auto& c : cases) {
    fake->calls.clear();
    Text cookies = c.cookies;
    Run({.cookies = &cookies, .mergeCookieText = c.merge, .addDefaultHeaders = false});
    EXPECT_EQ(fake->Headers().at(0), c.sent) << c.cookies;
    EXPECT_EQ(cookies, c.after) << c.cookies;
  }
  fake->calls.clear();
  Run({.headers = "A: 1"});
  for (const auto& header : fake->Headers()) EXPECT_FALSE(header.starts_with("Cookie"));
}

TEST_F(WebRequestTest, ReturnedCookies) {
  struct Case {
    const char* responseHeaders;
    const char* expected;
  };
  const Case cases[] = {
      {"Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2", "a=1; b=2"},
      {"set-cookie: c=3", ""},
      {"Content-Type: text/html", ""},
      {"Set-Cookie:  d=4 ;Secure\r\nX: y", "d=4"},
      {"Set-Cookie: e=5\r\n", "e=5"},
      {"Set-Cookie:x=1", ""},  // the name is what stands before ": "
      // Lines split on bytes: an odd number of high bytes does not swallow the line end.
      {"Server: \xE6\x9C\x8D\r\nSet-Cookie: a=1", "a=1"},
      {"Set-Cookie: city=\xE4\xB8\xAD\r\nSet-Cookie: b=2", "city=\xE4\xB8\xAD; b=2"},
      {"Set-Cookie: city=\xE4\xB8\xAD; path=/\r\nSet-Cookie: b=2", "city=\xE4\xB8\xAD; b=2"},
      // A cookie that could not travel back is dropped alone.
      {"Set-Cookie: bad=1\r2\r\nSet-Cookie: b=2", "b=2"},
      {"Set-Cookie: esc=\x1b[2J; path=/\r\nSet-Cookie: b=2", "b=2"},
  };
  for (const auto& c : cases) {
    fake->responseHeaders = c.responseHeaders;
    Text returned = "stale";
    Run({.returnedCookies = &returned});
    EXPECT_EQ(returned, c.expected) << c.responseHeaders;
  }
}

TEST_F(WebRequestTest, ReturnedCookiesMergeIntoTheCallersText) {
  fake->responseHeaders = "Set-Cookie: a=2; path=/\r\nSet-Cookie: old=deleted";
  Text cookies = "old=1; a=1; z=9";
  Text returned;
  Run({.cookies = &cookies, .returnedCookies = &returned});
  EXPECT_EQ(cookies, "a=2; z=9");
  EXPECT_EQ(returned, "a=2; z=9");

  Text untouched = "z=9";
  Run({.cookies = &untouched, .returnedCookies = &returned, .mergeCookieText = false});
  EXPECT_EQ(untouched, "z=9");
  EXPECT_EQ(returned, "a=2; old=deleted");
}

TEST_F(WebRequestTest, ResponseOutParameters) {
  fake->responseBody = {'o', 'k'};
  fake->responseHeaders = "Content-Type: text/plain";
  fake->status = 404.9;
  Text headers;
  std::int32_t status = -1;
  EXPECT_EQ(Run({.responseHeaders = &headers, .status = &status}), (Bytes{'o', 'k'}));
  EXPECT_EQ(headers, "Content-Type: text/plain");
  EXPECT_EQ(status, 404);
}

TEST_F(WebRequestTest, FailedSendGivesEmptyValuesAndStillTidiesCookies) {
  fake->sendFails = true;
  fake->responseBody = {'x'};
  fake->responseHeaders = "Set-Cookie: a=1";
  Text cookies = "  b=2; ";
  Text returned = "stale";
  Text headers = "stale";
  std::int32_t status = -1;
  EXPECT_THAT(Run({.cookies = &cookies,
                   .returnedCookies = &returned,
                   .responseHeaders = &headers,
                   .status = &status}),
              IsEmpty());
  EXPECT_EQ(headers, "");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(cookies, "b=2");
  EXPECT_EQ(returned, "b=2");
}

TEST_F(WebRequestTest, Proxy) {
  Run({.proxyUser = "u", .proxyPassword = "p"});
  for (const auto& call : fake->calls) EXPECT_FALSE(call.starts_with("SetCredentials")) << call;
  for (const auto& header : fake->Headers()) EXPECT_FALSE(header.starts_with("Proxy-")) << header;

  fake->calls.clear();
  Run({.proxy = "proxy:8080", .proxyUser = "u", .proxyPassword = "p", .addDefaultHeaders = false});
  EXPECT_THAT(
      fake->calls,
      ElementsAre("SetTimeouts[15000][15000][15000][15000]", "SetProxy[2][proxy:8080]",
                  std::string("Open[GET][") + kUrl + "][false]", "Option[4][13056]",
                  "SetCredentials[u][p][1]", "SetRequestHeader[Proxy-Authorization][Basic dTpw]",
                  "SetRequestHeader[][]", "Send[text:]"));

  fake->calls.clear();
  Run({.proxy = "proxy", .proxyUser = "u", .credentialTarget = 0});
  EXPECT_EQ(fake->calls.at(4), "SetCredentials[u][][0]");
  for (const auto& header : fake->Headers()) EXPECT_FALSE(header.starts_with("Proxy-")) << header;
}

TEST_F(WebRequestTest, NoRedirectAndBodies) {
  Run({.noRedirect = true, .bodyBytes = Bytes{'b', 'y'}});
  EXPECT_EQ(fake->calls.at(2), "Option[6][0]");
  EXPECT_EQ(fake->calls.at(3), "Option[4][13056]");
  EXPECT_EQ(fake->calls.back(), "Send[bytes:by]");

  fake->calls.clear();
  Run({.body = "text", .noRedirect = false, .bodyBytes = Bytes{}});
  EXPECT_EQ(fake->calls.at(2), "Option[4][13056]");
  EXPECT_EQ(fake->calls.back(), "Send[text:text]");
}

TEST_F(WebRequestTest, CallersRequestObjectIsUsedAndOnlyItsReferenceDropped) {
  int created = 0;
  ScopedFactory<HttpRequest> factory([&] {
    ++created;
    return ObjectRef<HttpRequest>();
  });
  ObjectRef<HttpRequest> mine(fake);
  const long references = mine.UseCount();
  WebRequest(kUrl, {.requestObject = mine});
  EXPECT_EQ(created, 0);
  EXPECT_FALSE(fake->calls.empty());
  EXPECT_EQ(mine.UseCount(), references);
}

TEST(WebRequestCreation, FailedCreationReturnsAtOnceAndWritesNothing) {
  ScopedFactory<HttpRequest> factory([] { return ObjectRef<HttpRequest>(); });
  Text cookies = "Cookie: a=1";
  Text returned = "r";
  Text headers = "h";
  std::int32_t status = 7;
  const int before = AutomationInitCount();
  EXPECT_THAT(WebRequest(kUrl, {.cookies = &cookies,
                                .returnedCookies = &returned,
                                .responseHeaders = &headers,
                                .status = &status}),
              IsEmpty());
  EXPECT_EQ(AutomationInitCount(), before);
  EXPECT_EQ(cookies, "Cookie: a=1");
  EXPECT_EQ(returned, "r");
  EXPECT_EQ(headers, "h");
  EXPECT_EQ(status, 7);
}

TEST(WebRequestCreation, NewObjectComesFromTheFactory) {
  auto fake = std::make_shared<RecordingHttpRequest>();
  ScopedFactory<HttpRequest> factory([&] { return ObjectRef<HttpRequest>(fake); });
  WebRequest(kUrl);
  EXPECT_FALSE(fake->calls.empty());
  EXPECT_EQ(fake.use_count(), 1);  // the request released its reference
}

}  // namespace
}  // namespace zendra
