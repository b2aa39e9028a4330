// Requests through a real proxy on loopback: the desktop's proxy from the environment
// when the caller names none, the caller's own when it does, and no_proxy's exceptions.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/http/curl_http_request.h"
#include "tests/support/test_server.h"

extern char** environ;

namespace zendra {
namespace {

using testing::Reply;
using testing::TestServer;

constexpr std::int32_t kIgnoreCertificateErrors = 13056;

// A loopback port that was free a moment ago; the proxy needs a fixed one in its file.
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

// tinyproxy in the foreground with its own configuration and log, stopped at the end.
class Tinyproxy {
 public:
  Tinyproxy() {
    directory_ = std::filesystem::temp_directory_path() /
                 ("zendra-proxy-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory_);
    port_ = FreePort();
    std::ofstream(directory_ / "tinyproxy.conf")
        << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\n"
        << "LogLevel Connect\nLogFile \"" << LogPath() << "\"\n";
    const std::string config = (directory_ / "tinyproxy.conf").string();
    const std::vector<std::string> args{ZENDRA_TINYPROXY, "-d", "-c", config};
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
    // Up when it accepts a connection; give up only if the process ended.
    while (pid_ != 0 && !Accepts(port_)) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) pid_ = 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~Tinyproxy() {
    if (pid_ != 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  bool Running() const { return pid_ != 0; }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  // The CONNECT requests the proxy logged, in order.
  std::vector<std::string> Tunnels() const {
    std::ifstream log(LogPath());
    std::vector<std::string> tunnels;
    for (std::string line; std::getline(log, line);) {
      const auto at = line.find("): CONNECT ");
      if (at != std::string::npos) tunnels.push_back(line.substr(at + 3));
    }
    return tunnels;
  }

 private:
  std::string LogPath() const { return (directory_ / "tinyproxy.log").string(); }

  std::filesystem::path directory_;
  int port_ = 0;
  pid_t pid_ = 0;
};

// Sets or clears the proxy variables for one test and puts them back afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }
  static void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

 private:
  static constexpr const char* kNames[] = {"https_proxy", "HTTPS_PROXY", "http_proxy",
                                           "all_proxy",   "ALL_PROXY",   "no_proxy",
                                           "NO_PROXY"};
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class HttpProxyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string(ZENDRA_TINYPROXY).empty()) GTEST_SKIP() << "tinyproxy is not installed";
    ASSERT_TRUE(proxy_.Running());
    server_.Answer("/a", Reply{.body = "hello"});
  }

  // One GET of the server's /a; the body, empty when the request failed.
  std::string Get(const std::optional<std::string>& namedProxy = std::nullopt) {
    auto request = MakeCurlHttpRequest();
    if (namedProxy) request.Call(&HttpRequest::SetProxy, kProxySettingNamed, *namedProxy);
    request.Call(&HttpRequest::Open, Text("GET"), server_.Url("/a"), false);
    request.Call(&HttpRequest::Option, kOptionSslErrorIgnoreFlags,
                 Variant(kIgnoreCertificateErrors));
    request.Call(&HttpRequest::Send, Variant());
    const Bytes body = request.Call(&HttpRequest::ResponseBody);
    return std::string(body.begin(), body.end());
  }

  std::string Tunnel() const { return "CONNECT 127.0.0.1:" + std::to_string(server_.Port()); }

  ScopedEnvironment environment_;
  Tinyproxy proxy_;
  TestServer server_;
};

TEST_F(HttpProxyTest, EnvironmentProxyCarriesRequestsWhenNoneIsNamed) {
  ScopedEnvironment::Set("https_proxy", "http://" + proxy_.Address());
  EXPECT_EQ(Get(), "hello");
  ASSERT_EQ(proxy_.Tunnels().size(), 1u);
  EXPECT_EQ(proxy_.Tunnels()[0].rfind(Tunnel(), 0), 0u) << proxy_.Tunnels()[0];
}

TEST_F(HttpProxyTest, AllProxyServesWhenNoSchemeProxyIsSet) {
  ScopedEnvironment::Set("all_proxy", "http://" + proxy_.Address());
  EXPECT_EQ(Get(), "hello");
  EXPECT_EQ(proxy_.Tunnels().size(), 1u);
}

TEST_F(HttpProxyTest, NoProxyGoesDirect) {
  ScopedEnvironment::Set("https_proxy", "http://" + proxy_.Address());
  for (const char* exceptions : {"127.0.0.1", "localhost,127.0.0.1", "*"}) {
    SCOPED_TRACE(exceptions);
    ScopedEnvironment::Set("no_proxy", exceptions);
    EXPECT_EQ(Get(), "hello");
  }
  EXPECT_TRUE(proxy_.Tunnels().empty());
}

TEST_F(HttpProxyTest, NamedProxyWinsOverTheEnvironment) {
  // The environment names a proxy that is not there: only the named one can carry it.
  ScopedEnvironment::Set("https_proxy", "http://127.0.0.1:" + std::to_string(FreePort()));
  EXPECT_EQ(Get(), "");
  EXPECT_EQ(Get(proxy_.Address()), "hello");
  EXPECT_EQ(proxy_.Tunnels().size(), 1u);
}

TEST_F(HttpProxyTest, WithoutProxyVariablesRequestsGoDirect) {
  EXPECT_EQ(Get(), "hello");
  EXPECT_TRUE(proxy_.Tunnels().empty());
}

}  // namespace
}  // namespace zendra
