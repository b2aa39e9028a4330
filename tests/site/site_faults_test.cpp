#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "site/sample_site.h"
#include "tests/site/site_client.h"

namespace zendra::site {
namespace {

using testing::ClientFor;
using testing::PostForm;

// A catalogue small enough to read at a glance: one product, one language, three files.
Catalogue TinyCatalogue() {
  CatalogueLanguage language{"l-1", "English", {}};
  for (const char* id : {"f-1", "f-2", "f-3"}) {
    language.files.push_back({id, std::string(id) + ".iso",
                              "0123456789ABCDEF0123456789ABCDEF01234567", 1234567890,
                              "2019-11-27"});
  }
  return {{{"c-1", "Tools", {{"p-1", "Orbis Studio", {language}}}}}};
}

class SiteFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(site.Start());
    client = ClientFor(site);
  }

  httplib::Result Details(const std::string& id) {
    return PostForm(*client, "/Category/GetProduct", "id=" + id);
  }

  // Waits until the site has logged `count` requests, however long a busy machine takes;
  // a site that never logs them is ended by the test runner's own limit.
  void AwaitLog(std::size_t count) {
    while (site.Log().size() < count) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  SampleSite site{TinyCatalogue()};
  std::unique_ptr<httplib::SSLClient> client;
};

TEST_F(SiteFaultTest, SpoilsOnlyTheChosenDetailsAnswer) {
  const auto whole = Details("f-2");
  ASSERT_TRUE(whole);
  const struct {
    DetailsFault fault;
    int status;
    std::string body;
  } cases[] = {
      {DetailsFault::Fail, 500, ""},
      {DetailsFault::Truncate, 200, whole->body.substr(0, whole->body.size() / 2)},
      {DetailsFault::Script, 200,
       R"({"result":(function(){return {"FileName":"injected.exe"};})()})"},
  };
  for (const auto& c : cases) {
    site.FailDetails(2, c.fault);
    for (const char* id : {"f-1", "f-2", "f-3"}) {
      const auto result = Details(id);
      ASSERT_TRUE(result);
      const bool spoilt = std::string(id) == "f-2";
      EXPECT_EQ(result->status, spoilt ? c.status : 200) << id;
      if (spoilt) {
        EXPECT_EQ(result->body, c.body);
      } else {
        EXPECT_NE(result->body.find(std::string(id) + ".iso"), std::string::npos);
      }
    }
  }
  // Other endpoints do not count towards n.
  site.FailDetails(1, DetailsFault::Fail);
  ASSERT_TRUE(PostForm(*client, "/Category/Index", "id=c-1"));
  EXPECT_EQ(Details("f-1")->status, 500);
  site.FailDetails(1, DetailsFault::None);
  EXPECT_EQ(Details("f-1")->status, 200);
}

TEST_F(SiteFaultTest, LogsEveryRequestInArrivalOrder) {
  ASSERT_TRUE(client->Get("/", {{"Cookie", "zd_visit=1"}, {"X-B", "2"}, {"X-A", "1"}}));
  ASSERT_TRUE(PostForm(*client, "/Category/GetLang", "id=p-1"));
  site.SetSilent(true);
  EXPECT_FALSE(PostForm(*client, "/Category/Index", "id=c-1"));  // unanswered, still logged

  const auto log = site.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].method, "GET");
  EXPECT_EQ(log[0].path, "/");
  EXPECT_EQ(log[0].Header("cookie"), "zd_visit=1");
  EXPECT_EQ(log[0].Header("X-A"), "1");
  EXPECT_EQ(log[1].method, "POST");
  EXPECT_EQ(log[1].path, "/Category/GetLang");
  EXPECT_EQ(log[1].body, "id=p-1");
  EXPECT_EQ(log[1].Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(log[1].Header("X-Missing"), "");
  EXPECT_EQ(log[2].body, "id=c-1");

  site.ClearLog();
  EXPECT_TRUE(site.Log().empty());
}

TEST_F(SiteFaultTest, AppliesLatencyToEachRequest) {
  constexpr auto kLatency = std::chrono::milliseconds(150);
  site.SetLatency(kLatency);
  for (int i = 0; i < 2; ++i) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(PostForm(*client, "/Category/Index", "id=c-1"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, kLatency);
  }
}

TEST_F(SiteFaultTest, ResponderReplacesAnyAnswer) {
  site.SetResponder([](const LoggedRequest& request) -> std::optional<Reply> {
    if (request.path == "/zero") return Reply{200, std::string("a\0b", 3), "text/plain", {}};
    if (request.path == "/cookies") {
      Reply reply{200, "<title>302 Found</title>", "text/html", {}};
      for (int i = 0; i < 1000; ++i) {
        reply.headers.emplace_back("Set-Cookie",
                                   "c" + std::to_string(i) + "=" + std::to_string(i) + "; path=/");
      }
      return reply;
    }
    if (request.path == "/big") return Reply{200, std::string(100 << 20, 'x'), "text/plain", {}};
    if (request.path == "/drop") return Reply{.dropConnection = true};
    if (request.path == "/error") return Reply{500, "", "", {}};
    return std::nullopt;
  });

  auto zero = client->Get("/zero");
  ASSERT_TRUE(zero);
  EXPECT_EQ(zero->body, std::string("a\0b", 3));
  auto cookies = client->Get("/cookies");
  ASSERT_TRUE(cookies);
  EXPECT_EQ(cookies->get_header_value_count("Set-Cookie"), 1000u);
  EXPECT_EQ(cookies->get_header_value("Set-Cookie", 999), "c999=999; path=/");
  auto big = client->Get("/big");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->body.size(), std::size_t{100} << 20);
  auto error = client->Get("/error");
  ASSERT_TRUE(error);
  EXPECT_EQ(error->status, 500);
  EXPECT_TRUE(error->body.empty());
  EXPECT_FALSE(client->Get("/drop"));
  // Requests the responder leaves alone get the site's own answer.
  auto products = PostForm(*client, "/Category/Index", "id=c-1");
  ASSERT_TRUE(products);
  EXPECT_EQ(products->body, R"({"result":[{"id":"p-1","name":"Orbis Studio"}]})");
}

TEST_F(SiteFaultTest, SilentSiteClosesWithoutAnswer) {
  site.SetSilent(true);
  EXPECT_FALSE(client->Get("/"));
  site.SetSilent(false);
  EXPECT_TRUE(client->Get("/"));
}

TEST_F(SiteFaultTest, StopReturnsWithStalledAndIdleConnections) {
  // One client parks an idle kept-alive connection, another waits on a stalled request.
  ASSERT_TRUE(client->Get("/"));
  site.SetStall(true);
  bool answered = true;
  std::thread stalled([&] {
    auto other = ClientFor(site);
    answered = static_cast<bool>(PostForm(*other, "/Category/Index", "id=c-1"));
  });
  AwaitLog(2);
  site.Stop();
  stalled.join();
  EXPECT_FALSE(answered);
  EXPECT_FALSE(site.IsRunning());

  // The site starts again afterwards, stall still set until lifted.
  site.SetStall(false);
  ASSERT_TRUE(site.Start());
  EXPECT_TRUE(ClientFor(site)->Get("/"));
}

TEST_F(SiteFaultTest, LiftedStallStillLeavesTheStalledRequestUnanswered) {
  site.SetStall(true);
  bool answered = true;
  std::thread stalled([&] {
    auto other = ClientFor(site);
    answered = static_cast<bool>(PostForm(*other, "/Category/Index", "id=c-1"));
  });
  AwaitLog(1);
  site.SetStall(false);
  stalled.join();
  EXPECT_FALSE(answered);
  EXPECT_TRUE(client->Get("/"));
}

TEST(SampleSite, RefusesATakenPortAndStopsWhenNeverStarted) {
  SampleSite first;
  ASSERT_TRUE(first.Start());
  SampleSite second;
  EXPECT_FALSE(second.Start(first.Port()));
  EXPECT_EQ(second.Port(), 0);
  second.Stop();
  SampleSite idle;
}

}  // namespace
}  // namespace zendra::site
