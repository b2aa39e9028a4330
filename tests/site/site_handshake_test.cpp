#include <gtest/gtest.h>

#include <string>

#include "site/sample_site.h"
#include "tests/site/site_client.h"

namespace zendra::site {
namespace {

using testing::Between;
using testing::ClientFor;
using testing::PostForm;

class SiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(site.Start());
    client = ClientFor(site);
  }

  std::string Post(const std::string& path, const std::string& body) {
    auto result = PostForm(*client, path, body);
    EXPECT_TRUE(result) << path;
    if (!result) return {};
    EXPECT_EQ(result->status, 200) << path;
    EXPECT_EQ(result->get_header_value("Content-Type"), "application/json; charset=utf-8");
    return result->body;
  }

  SampleSite site;
  std::unique_ptr<httplib::SSLClient> client;
};

std::vector<std::string> SetCookies(const httplib::Response& response) {
  std::vector<std::string> cookies;
  const auto count = response.get_header_value_count("Set-Cookie");
  for (std::size_t i = 0; i < count; ++i) {
    cookies.push_back(response.get_header_value("Set-Cookie", i));
  }
  return cookies;
}

TEST_F(SiteTest, FirstVisitIsRedirectedAndTheSecondGetsTheCategories) {
  EXPECT_EQ(site.BaseUrl(), "https://127.0.0.1:" + std::to_string(site.Port()) + "/");

  auto first = client->Get("/");
  ASSERT_TRUE(first);
  EXPECT_NE(first->body.find("<title>302 Found</title>"), std::string::npos);
  const auto given = SetCookies(*first);
  ASSERT_EQ(given.size(), 2u);
  EXPECT_EQ(given[0].rfind("zd_visit=", 0), 0u);
  EXPECT_EQ(given[1], "zd_probe=1; path=/");

  // Without the cookie the site keeps redirecting.
  auto again = client->Get("/");
  ASSERT_TRUE(again);
  EXPECT_NE(again->body.find("<title>302 Found</title>"), std::string::npos);

  const std::string cookie = given[0].substr(0, given[0].find(';')) + "; zd_probe=1";
  auto home = client->Get("/", {{"Cookie", cookie}});
  ASSERT_TRUE(home);
  EXPECT_EQ(home->status, 200);
  EXPECT_EQ(home->body.find("<title>302 Found</title>"), std::string::npos);
  const auto set = SetCookies(*home);
  ASSERT_EQ(set.size(), 2u);
  EXPECT_EQ(set[0].rfind("zd_session=", 0), 0u);
  EXPECT_EQ(set[1].rfind("zd_probe=deleted; path=/; expires=Thu, 01 Jan 1970", 0), 0u);

  const auto& categories = site.Content().categories;
  const auto ids = Between(home->body, "data-menuid=\"", "\" data-target");
  ASSERT_EQ(ids.size(), categories.size());
  for (std::size_t i = 0; i < ids.size(); ++i) {
    EXPECT_EQ(ids[i], categories[i].id);
    const auto names =
        Between(home->body, ids[i] + "\">", "</a></h4></div><div id=\"collapse_" + ids[i]);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], categories[i].name);
  }
}

TEST_F(SiteTest, EndpointsAnswerWithTheBrowsersMarkers) {
  const auto& category = site.Content().categories[0];
  const auto& product = category.products[0];
  const auto& language = product.languages[0];
  const auto& file = language.files[0];

  const auto products = Post("/Category/Index", "id=" + category.id);
  const auto productIds = Between(products, R"("id":")", R"(",")");
  const auto productNames = Between(products, R"("name":")", R"("})");
  ASSERT_EQ(productIds.size(), category.products.size());
  ASSERT_EQ(productNames.size(), category.products.size());
  EXPECT_EQ(productIds[0], product.id);
  EXPECT_EQ(productNames[0], product.name);

  const auto languages = Post("/Category/GetLang", "id=" + product.id);
  const auto languageIds = Between(languages, R"("id":")", R"(","lang":")");
  ASSERT_EQ(languageIds.size(), product.languages.size());
  EXPECT_EQ(languageIds[0], language.id);
  EXPECT_EQ(Between(languages, R"(","lang":")", R"("})")[0], "简体中文");

  const auto files =
      Post("/Category/GetList", "id=" + product.id + "&lang=" + language.id + "&filter=true");
  const auto fileIds = Between(files, R"("id":")", R"(","name)");
  ASSERT_EQ(fileIds.size(), language.files.size());
  EXPECT_EQ(fileIds[0], file.id);

  const auto details = Post("/Category/GetProduct", "id=" + fileIds[0]);
  EXPECT_EQ(details, "{\"result\":{\"FileName\":\"" + file.fileName + "\",\"SHA1\":\"" + file.sha1 +
                         "\",\"size\":" + std::to_string(file.size) + ",\"PostDateString\":\"" +
                         file.postDate + "\",\"DownLoad\":\"" + site.BaseUrl() + "download/" +
                         file.fileName + "\"}}");

  // The download link serves the image itself (its bytes: image_content_test.cpp).
  auto download = client->Head(("/download/" + file.fileName).c_str());
  ASSERT_TRUE(download);
  EXPECT_EQ(download->status, 200);
  EXPECT_EQ(download->get_header_value("Content-Length"), std::to_string(file.size));
}

TEST_F(SiteTest, UnknownIdsAndTheProductWithoutLanguagesAnswerEmpty) {
  std::string silentProduct;
  for (const auto& category : site.Content().categories) {
    for (const auto& product : category.products) {
      if (product.languages.empty()) silentProduct = product.id;
    }
  }
  ASSERT_FALSE(silentProduct.empty());
  const auto& product = site.Content().categories[0].products[0];
  const struct {
    std::string path;
    std::string body;
    std::string expected;
  } cases[] = {
      {"/Category/GetLang", "id=" + silentProduct, R"({"result":[]})"},
      {"/Category/GetList", "id=" + silentProduct + "&lang=x&filter=true", R"({"result":[]})"},
      {"/Category/Index", "id=no-such-category", R"({"result":[]})"},
      {"/Category/Index", "", R"({"result":[]})"},
      {"/Category/GetLang", "id=no-such-product", R"({"result":[]})"},
      {"/Category/GetList", "id=" + product.id + "&lang=no-such&filter=true", R"({"result":[]})"},
      {"/Category/GetProduct", "id=no-such-file", R"({"result":null})"},
  };
  for (const auto& c : cases) EXPECT_EQ(Post(c.path, c.body), c.expected) << c.body;

  auto missing = client->Get("/no/such/page");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
}

TEST_F(SiteTest, KeepsOneConnectionForManyRequests) {
  const auto& category = site.Content().categories[0];
  for (int i = 0; i < 20; ++i) Post("/Category/Index", "id=" + category.id);
  const auto log = site.Log();
  ASSERT_EQ(log.size(), 20u);
  for (const auto& request : log) EXPECT_EQ(request.remotePort, log[0].remotePort);
}

}  // namespace
}  // namespace zendra::site
