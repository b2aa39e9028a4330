// Numbers and text convert the same way whatever locale the user runs under. This suite's
// main creates the application object under a decimal-comma locale, which the toolkit takes
// over into the C library.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "json/json_object.h"
#include "platform/automation/variant.h"
#include "tests/app/catalogue_fixture.h"
#include "text/text_primitives.h"

namespace zendra {
namespace {

// Without the locale asked for (not built on this machine) the suite proves nothing.
void SkipUnlessDecimalComma() {
  const char* wanted = std::getenv("LC_ALL");
  const char* inForce = std::setlocale(LC_NUMERIC, nullptr);
  if (wanted != nullptr && std::strcmp(wanted, "C") != 0 &&
      std::strcmp(std::localeconv()->decimal_point, ",") != 0)
    GTEST_SKIP() << "locale " << wanted << " not in force (" << inForce << ")";
}

TEST(NumberLocale, TextPrimitivesAndValues) {
  SkipUnlessDecimalComma();
  const struct {
    double value;
    const char* text;    // ToText: 13 significant digits
    const char* script;  // a double read back from the script host
  } cases[] = {
      {12345678901234.5, "1.234567890123e+13", "12345678901234.5"},
      {734003200.5, "734003200.5", "734003200.5"},
      {1.0 / 3, "0.3333333333333", "0.3333333333333333"},
      {-2.5, "-2.5", "-2.5"},
      {1e21, "1e+21", "1e+21"},
      {1.5e-7, "1.5e-07", "1.5e-7"},
      {4781506560, "4781506560", "4781506560"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToText(c.value), c.text);
    EXPECT_EQ(Variant(c.value).AsText(), c.script);
  }
  EXPECT_EQ(Variant(Text("2.5")).TryNumber(), 2.5);
  EXPECT_EQ(Variant(Text("2,5")).TryNumber(), std::nullopt);
}

TEST(NumberLocale, JsonReadsAndWrites) {
  SkipUnlessDecimalComma();
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"result":{"size":734003200.5,"big":12345678901234.5,)"
                         R"("list":[0.5,1e21]}})"));
  EXPECT_EQ(json.GetText("result.size"), "734003200.5");
  EXPECT_EQ(json.GetText("result.big"), "1.234567890123e+13");
  EXPECT_EQ(json.GetText("result.list"), "0.5,1e+21");
  EXPECT_EQ(json.GetElementText(0, "result.list"), "0.5");
  EXPECT_EQ(json.GetNumber("result.size"), 734003200.5);

  // "2,5" would be valid script meaning 5.
  json.SetNumber("result.half", 2.5);
  EXPECT_EQ(json.GetNumber("result.half"), 2.5);
  EXPECT_EQ(json.GetText("result.half"), "2.5");
  EXPECT_NE(json.ToJsonText().find(R"("half":2.5)"), std::string::npos) << json.ToJsonText();
}

class FileListLocaleTest : public CatalogueTest {};

TEST_F(FileListLocaleTest, SizeCells) {
  SkipUnlessDecimalComma();
  site_.SetResponder([](const LoggedRequest& request) -> std::optional<site::Reply> {
    if (request.path != "/Category/GetProduct") return std::nullopt;
    const std::string size = request.body == "id=f-1"   ? "734003200.5"
                             : request.body == "id=f-2" ? "12345678901234.5"
                                                        : "0.1";
    return site::Reply{.body = R"({"result":{"FileName":"a.iso","size":)" + size + "}}"};
  });
  StartUp();
  const auto rows = Rows(window_.fileList());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][3], "734003200.5");
  EXPECT_EQ(rows[1][3], "1.234567890123e+13");
  EXPECT_EQ(rows[2][3], "0.1");
  EXPECT_EQ(rows[2][0], "3");
}

}  // namespace
}  // namespace zendra
