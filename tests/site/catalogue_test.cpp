#include "site/catalogue.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "site/catalogue_answers.h"
#include "site/form_body.h"
#include "site/home_page.h"
#include "tests/site/site_client.h"

namespace zendra::site {
namespace {

using testing::Between;

TEST(BundledCatalogue, IsLargeVariedAndUnique) {
  const auto catalogue = BundledCatalogue();
  EXPECT_GE(catalogue.categories.size(), 8u);
  EXPECT_GE(catalogue.ProductCount(), 60u);
  EXPECT_GE(catalogue.FileCount(), 300u);

  const std::regex guid("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
  const std::regex sha1("[0-9A-F]{40}");
  const std::regex date("20[0-9]{2}-[01][0-9]-[0-3][0-9]");
  std::set<std::string> ids;
  std::set<std::string> fileNames;
  int withoutLanguage = 0;
  int severalLanguages = 0;
  int tenDigitSizes = 0;
  for (const auto& category : catalogue.categories) {
    EXPECT_TRUE(std::regex_match(category.id, guid)) << category.id;
    EXPECT_TRUE(ids.insert(category.id).second);
    for (const auto& product : category.products) {
      EXPECT_TRUE(ids.insert(product.id).second) << product.name;
      withoutLanguage += product.languages.empty();
      severalLanguages += product.languages.size() >= 2;
      for (const auto& language : product.languages) {
        EXPECT_FALSE(language.files.empty()) << product.name << " " << language.name;
        for (const auto& file : language.files) {
          EXPECT_TRUE(std::regex_match(file.id, guid));
          EXPECT_TRUE(std::regex_match(file.sha1, sha1));
          EXPECT_TRUE(std::regex_match(file.postDate, date)) << file.postDate;
          EXPECT_TRUE(ids.insert(file.id).second);
          EXPECT_TRUE(fileNames.insert(file.fileName).second) << file.fileName;
          tenDigitSizes += std::to_string(file.size).size() == 10;
        }
      }
    }
  }
  EXPECT_EQ(withoutLanguage, 1);
  EXPECT_GE(severalLanguages, 60);
  EXPECT_GE(tenDigitSizes, 100);
  // The browser's start-up shows the first language of the first product of the first
  // category: it must have files.
  ASSERT_FALSE(catalogue.categories[0].products[0].languages.empty());
  EXPECT_FALSE(catalogue.categories[0].products[0].languages[0].files.empty());
}

TEST(BundledCatalogue, IsTheSameOnEveryRun) {
  const auto first = BundledCatalogue();
  const auto second = BundledCatalogue();
  EXPECT_EQ(first.categories[3].products[2].id, second.categories[3].products[2].id);
  EXPECT_EQ(DetailsAnswer(&first.categories[0].products[0].languages[0].files[0], "u/"),
            DetailsAnswer(&second.categories[0].products[0].languages[0].files[0], "u/"));
}

TEST(BundledCatalogue, FirstFileCountGrowsAndShrinksTheStartUpList) {
  for (const std::size_t count : {std::size_t{1}, std::size_t{2}, std::size_t{50}}) {
    auto catalogue = BundledCatalogue();
    const auto untouched = catalogue.categories[0].products[0].languages[1].files;
    SetFirstFileCount(catalogue, count);
    const auto& files = catalogue.categories[0].products[0].languages[0].files;
    ASSERT_EQ(files.size(), count);
    EXPECT_EQ(files[0].fileName, BundledCatalogue().categories[0].products[0].languages[0].files[0].fileName);
    std::set<std::string> ids;
    for (const auto& file : files) {
      EXPECT_TRUE(ids.insert(file.id).second);
      // Every made-up file is found by id, as a details query looks for it.
      EXPECT_EQ(catalogue.FindFile(file.id), &file);
    }
    EXPECT_EQ(catalogue.categories[0].products[0].languages[1].files.size(), untouched.size());
  }
}

TEST(JsonString, EscapesOnlyWhatJsonRequires) {
  const struct {
    std::string input;
    std::string expected;
  } cases[] = {
      {"plain", "\"plain\""},
      {"简体中文", "\"简体中文\""},  // raw, never \u escapes: the browser cuts raw text
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"a\\b", "\"a\\\\b\""},
      {std::string("t\tn\n\x01", 5), "\"t\\u0009n\\u000a\\u0001\""},
      {"", "\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.input), c.expected) << c.input;
}

TEST(FormValue, ReadsRawAndEncodedFields) {
  const struct {
    std::string body;
    std::string name;
    std::string expected;
  } cases[] = {
      {"id=3f2a-01", "id", "3f2a-01"},
      {"id=p1&lang=l2&filter=true", "lang", "l2"},
      {"id=p1&lang=l2&filter=true", "filter", "true"},
      {"lang=l2&id=p1", "id", "p1"},
      {"id=a%2Db+c", "id", "a-b c"},
      {"id=50%", "id", "50%"},  // a stray percent stays as it is
      {"id=%zz", "id", "%zz"},
      {"idx=1&id=2", "id", "2"},  // a longer name is another field
      {"id", "id", ""},
      {"", "id", ""},
      {"lang=1", "id", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormValue(c.body, c.name), c.expected) << c.body;
}

TEST(Answers, FitTheBrowsersMarkers) {
  const CatalogueFile file{"f-1", "a b.iso", "ABCDEF0123456789ABCDEF0123456789ABCDEF01", 4781506560,
                           "2019-11-27"};
  const CatalogueLanguage language{"l-1", "简体中文", {file, file}};
  const CatalogueProduct product{"p-1", "Orbis Studio", {language}};
  const CatalogueCategory category{"c-1", "开发工具", {product, product}};

  const auto products = ProductsAnswer(&category);
  EXPECT_EQ(
      products,
      R"({"result":[{"id":"p-1","name":"Orbis Studio"},{"id":"p-1","name":"Orbis Studio"}]})");
  EXPECT_EQ(Between(products, R"("id":")", R"(",")").size(), 2u);
  EXPECT_EQ(Between(products, R"("name":")", R"("})")[1], "Orbis Studio");

  const auto languages = LanguagesAnswer(&product);
  EXPECT_EQ(Between(languages, R"("id":")", R"(","lang":")"), std::vector<std::string>{"l-1"});
  EXPECT_EQ(Between(languages, R"(","lang":")", R"("})"), std::vector<std::string>{"简体中文"});

  EXPECT_EQ(Between(FilesAnswer(&language), R"("id":")", R"(","name)"),
            (std::vector<std::string>{"f-1", "f-1"}));
  EXPECT_EQ(DetailsAnswer(&file, "https://127.0.0.1:5/"),
            R"({"result":{"FileName":"a b.iso","SHA1":"ABCDEF0123456789ABCDEF0123456789ABCDEF01",)"
            R"("size":4781506560,"PostDateString":"2019-11-27",)"
            R"("DownLoad":"https://127.0.0.1:5/download/a b.iso"}})");

  const CatalogueProduct silent{"p-2", "x", {}};
  const struct {
    std::string answer;
    std::string expected;
  } unknown[] = {
      {ProductsAnswer(nullptr), R"({"result":[]})"},
      {LanguagesAnswer(nullptr), R"({"result":[]})"},
      {LanguagesAnswer(&silent), R"({"result":[]})"},
      {FilesAnswer(nullptr), R"({"result":[]})"},
      {DetailsAnswer(nullptr, "u/"), R"({"result":null})"},
  };
  for (const auto& c : unknown) EXPECT_EQ(c.answer, c.expected);
}

TEST(HomePage, NamesEachCategoryRightAfterItsFirstIdMarker) {
  // Names with markup characters, and an id that is a prefix of another.
  Catalogue catalogue{{{"c1", "A & <B>", {}}, {"c10", "第二类", {}}}};
  const auto page = HomePage(catalogue);
  EXPECT_GE(page.size(), 100u * 1024);
  EXPECT_LE(page.size(), 300u * 1024);
  const auto ids = Between(page, "data-menuid=\"", "\" data-target");
  ASSERT_EQ(ids, (std::vector<std::string>{"c1", "c10"}));
  const std::string expected[] = {"A &amp; &lt;B&gt;", "第二类"};
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const auto names = Between(page, ids[i] + "\">", "</a></h4></div><div id=\"collapse_" + ids[i]);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], expected[i]);
  }
  EXPECT_EQ(page.find("<title>302 Found</title>"), std::string::npos);
  EXPECT_NE(RedirectPage().find("<title>302 Found</title>"), std::string::npos);
}

}  // namespace
}  // namespace zendra::site
