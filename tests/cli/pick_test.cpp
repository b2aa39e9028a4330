#include "app/cli/pick.h"

#include <gtest/gtest.h>

namespace zendra::cli {
namespace {

const std::vector<PickItem> kItems{
    {"系统", "c-1"}, {"办公", "c-2"}, {"2", "c-3"}, {"办公", "c-4"}, {"游戏", "办公2"},
};

TEST(Pick, NameIdOrPosition) {
  const std::vector<std::pair<std::string, std::size_t>> cases{
      {"系统", 0}, {"c-1", 0},   {"1", 0},  // one item by all three ways
      {"c-2", 1},                           // a repeated name is still reached by its id
      {"5", 4},    {"办公2", 4}, {"游戏", 4}, {"c-3", 2}, {"3", 2},
  };
  for (const auto& [value, index] : cases) {
    const Pick pick = ResolvePick("category", value, kItems);
    EXPECT_EQ(pick.index, index) << value;
    EXPECT_EQ(pick.error, "") << value;
  }
}

TEST(Pick, UnknownAndAmbiguousValuesListTheChoices) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"办公", "ambiguous category \"办公\": it names 2 4; give the position."},
      // The name "2" of the third item and the position 2.
      {"2", "ambiguous category \"2\": it names 2 3; give the position."},
      {"0", "unknown category \"0\"; choose one of:"},
      {"6", "unknown category \"6\"; choose one of:"},
      {"系", "unknown category \"系\"; choose one of:"},
      {"c-1 ", "unknown category \"c-1 \"; choose one of:"},
      {"", "unknown category \"\"; choose one of:"},
      {"+1", "unknown category \"+1\"; choose one of:"},
      {"99999999999999999999999", "unknown category \"99999999999999999999999\"; choose one of:"},
  };
  for (const auto& [value, start] : cases) {
    const Pick pick = ResolvePick("category", value, kItems);
    EXPECT_FALSE(pick.index) << value;
    EXPECT_EQ(pick.error.rfind(start, 0), 0u) << pick.error;
    EXPECT_NE(pick.error.find("  1   c-1    系统\n"), std::string::npos) << pick.error;
    EXPECT_NE(pick.error.find("  5   办公2  游戏\n"), std::string::npos) << pick.error;
  }
}

TEST(Pick, FilesAreNamedOrNumbered) {
  const std::vector<PickItem> files{{"a.iso", ""}, {"b.iso", ""}};
  EXPECT_EQ(ResolvePick("file", "b.iso", files).index, 1u);
  EXPECT_EQ(ResolvePick("file", "1", files).index, 0u);
  const Pick missing = ResolvePick("file", "c.iso", files);
  EXPECT_EQ(missing.error,
            "unknown file \"c.iso\"; choose one of:\n  ID  name\n  1   a.iso\n  2   b.iso\n");
  EXPECT_EQ(ResolvePick("file", "1", {}).error, "no file to choose from for \"1\"\n");
}

}  // namespace
}  // namespace zendra::cli
