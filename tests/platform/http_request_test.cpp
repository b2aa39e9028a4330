#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/http/curl_http_request.h"
#include "platform/http/curl_share.h"
#include "tests/support/test_server.h"

namespace zendra {
namespace {

using testing::Reply;
using testing::TestServer;

constexpr std::int32_t kIgnoreCertificateErrors = 13056;

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class HttpRequestTest : public ::testing::Test {
 protected:
  // A request prepared for the loopback server: self-signed certificate accepted.
  ObjectRef<HttpRequest> Prepared(const std::string& method, const std::string& path) {
    auto request = MakeCurlHttpRequest();
    EXPECT_TRUE(request.Call(&HttpRequest::Open, method, server.Url(path), false));
    EXPECT_TRUE(request.Call(&HttpRequest::Option, 4, Variant(kIgnoreCertificateErrors)));
    return request;
  }

  TestServer server;
};

TEST_F(HttpRequestTest, GetReturnsBodyStatusAndFinalHeaders) {
  server.Answer("/a", Reply{.status = 200, .body = "hello", .headers = {{"X-One", "1"}}});
  auto request = Prepared("GET", "/a");
  ASSERT_TRUE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(AsString(request.Call(&HttpRequest::ResponseBody)), "hello");
  EXPECT_EQ(request.Call(&HttpRequest::Status), 200);
  const Text headers = request.Call(&HttpRequest::GetAllResponseHeaders);
  EXPECT_EQ(headers.find("HTTP/"), Text::npos);  // no status line
  EXPECT_NE(headers.find("X-One: 1"), Text::npos);
  EXPECT_FALSE(headers.ends_with("\r\n"));
}

TEST_F(HttpRequestTest, SelfSignedCertificateIsRefusedUnlessIgnored) {
  server.Answer("/a", Reply{.body = "hello"});
  auto request = MakeCurlHttpRequest();
  ASSERT_TRUE(request.Call(&HttpRequest::Open, Text("GET"), server.Url("/a"), false));
  EXPECT_FALSE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(request.Call(&HttpRequest::Status), 0);
  EXPECT_TRUE(request.Call(&HttpRequest::ResponseBody).empty());
  EXPECT_EQ(request.Call(&HttpRequest::LastSendFailure), SendFailure::Tls);
}

TEST_F(HttpRequestTest, RedirectsAreFollowedOrReturned) {
  server.Answer("/old", Reply{.status = 302, .body = "moved", .headers = {{"Location", "/new"}}});
  server.Answer("/new", Reply{.body = "arrived", .headers = {{"X-Final", "yes"}}});

  auto followed = Prepared("GET", "/old");
  ASSERT_TRUE(followed.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(followed.Call(&HttpRequest::Status), 200);
  EXPECT_EQ(AsString(followed.Call(&HttpRequest::ResponseBody)), "arrived");
  const Text finalHeaders = followed.Call(&HttpRequest::GetAllResponseHeaders);
  EXPECT_NE(finalHeaders.find("X-Final: yes"), Text::npos);
  EXPECT_EQ(finalHeaders.find("Location"), Text::npos);  // the 302's headers are gone

  auto returned = Prepared("GET", "/old");
  ASSERT_TRUE(returned.Call(&HttpRequest::Option, 6, Variant(0)));
  ASSERT_TRUE(returned.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(returned.Call(&HttpRequest::Status), 302);
  EXPECT_EQ(AsString(returned.Call(&HttpRequest::ResponseBody)), "moved");
  EXPECT_NE(returned.Call(&HttpRequest::GetAllResponseHeaders).find("Location: /new"), Text::npos);
}

TEST_F(HttpRequestTest, RedirectLoopEndsAsAFailure) {
  server.Answer("/loop", Reply{.status = 302, .headers = {{"Location", "/loop"}}});
  auto request = Prepared("GET", "/loop");
  EXPECT_FALSE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(request.Call(&HttpRequest::Status), 0);
}

TEST_F(HttpRequestTest, BodiesAreSentAsTextOrBytes) {
  server.Answer("/p", Reply{.body = "ok"});
  auto text = Prepared("POST", "/p");
  ASSERT_TRUE(text.Call(&HttpRequest::Send, Variant(Text("id=5"))));
  auto bytes = Prepared("PUT", "/p");
  ASSERT_TRUE(bytes.Call(&HttpRequest::Send, Variant(Bytes{'a', 0, 'b'})));
  auto empty = Prepared("POST", "/p");
  ASSERT_TRUE(empty.Call(&HttpRequest::Send, Variant(Text())));

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "id=5");
  EXPECT_EQ(requests[1].method, "PUT");
  EXPECT_EQ(requests[1].body, std::string("a\0b", 3));
  EXPECT_EQ(requests[2].body, "");
  EXPECT_EQ(requests[2].Header("Content-Length"), "0");
}

TEST_F(HttpRequestTest, HeadAndOtherMethodsComplete) {
  server.Answer("/h", Reply{.body = "some body"});
  for (const char* method : {"HEAD", "DELETE", "OPTIONS"}) {
    auto request = Prepared(method, "/h");
    EXPECT_TRUE(request.Call(&HttpRequest::Send, Variant())) << method;
    EXPECT_EQ(request.Call(&HttpRequest::Status), 200) << method;
  }
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].method, "HEAD");
  EXPECT_EQ(requests[1].method, "DELETE");
  EXPECT_EQ(requests[2].method, "OPTIONS");
}

TEST_F(HttpRequestTest, HeaderInjectionAndTransportHeadersAreRefused) {
  server.Answer("/a", Reply{.body = "ok"});
  auto request = Prepared("POST", "/a");
  EXPECT_FALSE(
      request.Call(&HttpRequest::SetRequestHeader, Text("X-A"), Text("1\r\nX-Injected: 2")));
  EXPECT_FALSE(request.Call(&HttpRequest::SetRequestHeader, Text("X-B\nX-Injected"), Text("2")));
  EXPECT_FALSE(request.Call(&HttpRequest::SetRequestHeader, Text("X:C"), Text("3")));
  EXPECT_FALSE(request.Call(&HttpRequest::SetRequestHeader, Text(""), Text("4")));
  EXPECT_FALSE(request.Call(&HttpRequest::SetRequestHeader, Text("Content-Length"), Text("99")));
  EXPECT_TRUE(request.Call(&HttpRequest::SetRequestHeader, Text("X-Good"), Text("yes")));
  ASSERT_TRUE(request.Call(&HttpRequest::Send, Variant(Text("abc"))));

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].HeaderCount("X-Injected"), 0u);
  EXPECT_EQ(requests[0].HeaderCount("X-A"), 0u);
  EXPECT_EQ(requests[0].Header("X-Good"), "yes");
  EXPECT_EQ(requests[0].Header("Content-Length"), "3");
  EXPECT_EQ(requests[0].body, "abc");
}

TEST(HttpRequestWire, OnlyTheCallersHeadersInTheirOrderPlusTransport) {
  TestServer server(TestServer::Scheme::Http);
  server.Answer("/a", Reply{.body = "ok"});
  auto request = MakeCurlHttpRequest();
  ASSERT_TRUE(request.Call(&HttpRequest::Open, Text("POST"), server.Url("/a"), false));
  for (const char* name : {"Zeta", "Accept-Language", "Alpha", "Cookie"})
    ASSERT_TRUE(request.Call(&HttpRequest::SetRequestHeader, Text(name), Text("v")));
  ASSERT_TRUE(request.Call(&HttpRequest::SetRequestHeader, Text("zeta"), Text("again")));
  ASSERT_TRUE(request.Call(&HttpRequest::SetRequestHeader, Text("Alpha"), Text()));  // removes
  ASSERT_TRUE(request.Call(&HttpRequest::Send, Variant(Text("id=5"))));

  const auto raw = server.RawRequests();
  ASSERT_EQ(raw.size(), 1u);
  EXPECT_EQ(raw[0],
            "POST /a HTTP/1.1\r\n"
            "Host: 127.0.0.1:" +
                std::to_string(server.Port()) +
                "\r\n"
                "Zeta: again\r\n"
                "Accept-Language: v\r\n"
                "Cookie: v\r\n"
                "Content-Length: 4");
}

TEST(HttpRequestWire, MembersBeforeOpenAndUnsupportedRequestsFail) {
  auto request = MakeCurlHttpRequest();
  EXPECT_FALSE(request.Call(&HttpRequest::SetRequestHeader, Text("A"), Text("1")));
  EXPECT_FALSE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_FALSE(request.Call(&HttpRequest::Open, Text("GET"), Text("http://127.0.0.1/"), true));
  EXPECT_FALSE(request.Call(&HttpRequest::Open, Text("GET"), Text("file:///etc/passwd"), false));
  EXPECT_FALSE(request.Call(&HttpRequest::Open, Text("GET X"), Text("http://127.0.0.1/"), false));
  EXPECT_FALSE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_FALSE(request.Call(&HttpRequest::Option, 99, Variant(1)));
  EXPECT_FALSE(request.Call(&HttpRequest::SetProxy, 2, Text()));
}

TEST(HttpRequestWire, RefusedConnectionGivesEmptyValues) {
  int port = 0;
  {
    TestServer closed(TestServer::Scheme::Http);
    port = closed.Port();
  }
  auto request = MakeCurlHttpRequest();
  ASSERT_TRUE(request.Call(&HttpRequest::Open, Text("GET"),
                           "http://127.0.0.1:" + std::to_string(port) + "/", false));
  EXPECT_FALSE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(request.Call(&HttpRequest::Status), 0);
  EXPECT_TRUE(request.Call(&HttpRequest::GetAllResponseHeaders).empty());
}

TEST_F(HttpRequestTest, StallsEndAfterTheReceiveTimeout) {
  // Each stall ends well within the 30 s default, so only the one-second setting fails it.
  constexpr std::chrono::seconds kStall(20);
  server.Answer("/before", Reply{.stall = Reply::Stall::BeforeHeaders, .stallFor = kStall});
  server.Answer("/after", Reply{.stall = Reply::Stall::AfterHeaders, .stallFor = kStall});
  for (const char* path : {"/before", "/after"}) {
    auto request = Prepared("GET", path);
    ASSERT_TRUE(request.Call(&HttpRequest::SetTimeouts, 1000, 1000, 1000, 1000));
    EXPECT_FALSE(request.Call(&HttpRequest::Send, Variant())) << path;
    EXPECT_EQ(request.Call(&HttpRequest::Status), 0) << path;
    EXPECT_TRUE(request.Call(&HttpRequest::ResponseBody).empty()) << path;
  }
}

TEST_F(HttpRequestTest, SlowAnswerWithinTheTimeoutArrives) {
  server.Answer("/slow", Reply{.body = "late", .delay = std::chrono::milliseconds(300)});
  auto request = Prepared("GET", "/slow");
  // Far more room than the delay needs, however busy the machine.
  ASSERT_TRUE(request.Call(&HttpRequest::SetTimeouts, 120000, 120000, 120000, 120000));
  ASSERT_TRUE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(AsString(request.Call(&HttpRequest::ResponseBody)), "late");
}

TEST_F(HttpRequestTest, OversizedBodyFailsTheRequest) {
  server.Answer("/big", Reply{.generatedChunkedBytes = (std::size_t{64} << 20) + 1});
  server.Answer("/fits", Reply{.generatedChunkedBytes = std::size_t{1} << 20});
  auto big = Prepared("GET", "/big");
  EXPECT_FALSE(big.Call(&HttpRequest::Send, Variant()));
  EXPECT_TRUE(big.Call(&HttpRequest::ResponseBody).empty());
  EXPECT_TRUE(big.Call(&HttpRequest::GetAllResponseHeaders).empty());
  EXPECT_EQ(big.Call(&HttpRequest::Status), 0);

  auto fits = Prepared("GET", "/fits");
  ASSERT_TRUE(fits.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(fits.Call(&HttpRequest::ResponseBody).size(), std::size_t{1} << 20);
}

TEST_F(HttpRequestTest, OversizedHeadersFailTheRequest) {
  Reply reply;
  for (int k = 0; k < 1100; ++k)
    reply.headers.emplace_back("X-H" + std::to_string(k), std::string(1000, 'h'));
  server.Answer("/headers", reply);
  auto request = Prepared("GET", "/headers");
  EXPECT_FALSE(request.Call(&HttpRequest::Send, Variant()));
  EXPECT_EQ(request.Call(&HttpRequest::Status), 0);
}

TEST_F(HttpRequestTest, RequestsReuseOneConnectionUnlessSharingIsOff) {
  server.Answer("/a", Reply{.body = "ok"});
  for (int k = 0; k < 3; ++k) {
    auto request = Prepared("POST", "/a");
    ASSERT_TRUE(request.Call(&HttpRequest::Send, Variant(Text("x"))));
  }
  EXPECT_EQ(server.ConnectionCount(), 1);

  SetConnectionSharing(false);
  for (int k = 0; k < 2; ++k) {
    auto request = Prepared("POST", "/a");
    EXPECT_TRUE(request.Call(&HttpRequest::Send, Variant(Text("x"))));
  }
  SetConnectionSharing(true);
  EXPECT_EQ(server.ConnectionCount(), 3);
}

TEST_F(HttpRequestTest, ServerCredentialsAnswerAChallenge) {
  server.Answer("/a", Reply{.status = 401, .headers = {{"WWW-Authenticate", "Basic realm=\"z\""}}});
  auto request = Prepared("GET", "/a");
  ASSERT_TRUE(request.Call(&HttpRequest::SetCredentials, Text("user"), Text("pw"), 0));
  ASSERT_TRUE(request.Call(&HttpRequest::Send, Variant()));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].HeaderCount("Authorization"), 0u);
  EXPECT_EQ(requests[1].Header("Authorization"), "Basic dXNlcjpwdw==");
}

}  // namespace
}  // namespace zendra
