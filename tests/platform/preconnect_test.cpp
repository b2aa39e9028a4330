#include "platform/http/preconnect.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/http/curl_http_request.h"
#include "platform/http/request_hooks.h"
#include "tests/support/test_server.h"

namespace zendra {
namespace {

using testing::Reply;
using testing::TestServer;

constexpr std::int32_t kIgnoreCertificateErrors = 13056;

bool Get(const std::string& url) {
  auto request = MakeCurlHttpRequest();
  return request.Call(&HttpRequest::Open, Text("GET"), url, false) &&
         request.Call(&HttpRequest::Option, 4, Variant(kIgnoreCertificateErrors)) &&
         request.Call(&HttpRequest::Send, Variant()) && request.Call(&HttpRequest::Status) == 200;
}

void WaitForConnections(const TestServer& server, int count) {
  while (server.ConnectionCount() < count) std::this_thread::yield();
}

// A loopback port with nobody listening on it.
int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

TEST(Preconnect, TheFirstRequestTakesTheConnectionOpenedBeforeIt) {
  TestServer server;
  server.Answer("/", Reply{.body = "home"});
  server.Answer("/next", Reply{.body = "next"});
  const Preconnect preconnect(server.Url("/"));
  // The connection stands before any request is made, and nothing was asked on it yet.
  WaitForConnections(server, 1);
  EXPECT_TRUE(server.Requests().empty());

  EXPECT_TRUE(Get(server.Url("/")));
  EXPECT_TRUE(Get(server.Url("/next")));
  EXPECT_EQ(server.ConnectionCount(), 1);
  ASSERT_EQ(server.Requests().size(), 2u);
}

TEST(Preconnect, OtherAddressesConnectAsUsual) {
  TestServer site;
  TestServer other;
  other.Answer("/", Reply{.body = "other"});
  const Preconnect preconnect(site.Url("/"));
  WaitForConnections(site, 1);
  EXPECT_TRUE(Get(other.Url("/")));
  EXPECT_EQ(other.ConnectionCount(), 1);
}

TEST(Preconnect, AnUnreachableOrUnusableSiteCostsNothing) {
  const std::string nobody = "https://127.0.0.1:" + std::to_string(ClosedPort()) + "/";
  const char* cases[] = {nobody.c_str(), "ftp://127.0.0.1/", "not a url", ""};
  for (const char* url : cases) {
    const Preconnect preconnect(url);
    EXPECT_FALSE(Get(url)) << url;
  }
  // A site that never answers the connect: going away does not wait for it.
  const Preconnect blackHole("https://192.0.2.1:9/");
}

TEST(RequestHooks, AStopEndsTheRunOfRequestsUntilTheHooksGo) {
  TestServer server;
  server.Answer("/", Reply{.body = "home"});
  int asked = 0;
  {
    const ScopedRequestHooks hooks({.stop = [&asked] { return ++asked >= 2; }});
    // Asked before the request and after it: the second answer stops what follows.
    EXPECT_TRUE(Get(server.Url("/")));
    EXPECT_FALSE(Get(server.Url("/")));
    EXPECT_EQ(asked, 2);
  }
  EXPECT_TRUE(Get(server.Url("/")));
  EXPECT_EQ(server.Requests().size(), 2u);
}

}  // namespace
}  // namespace zendra
