#include "app/cli/table_output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/display_width.h"

namespace zendra::cli {
namespace {

std::string Written(const Table& table, OutputFormat format) {
  std::ostringstream out;
  WriteTable(out, table, format);
  return out.str();
}

TEST(DisplayWidth, CountsTerminalColumns) {
  const std::vector<std::pair<std::string, int>> cases{
      {"", 0},
      {"abc", 3},
      {"系统", 4},  // CJK ideographs take two columns
      {"ＡＢ", 4},  // full-width Latin too
      {"繁體中文 x", 10},
      {"e\xcc\x81", 1},     // e and a combining acute accent
      {"\xe2\x80\x8b", 0},  // zero-width space
      {"\xff", 1},          // malformed: one replacement character
      {"\xe7\xb3", 1},      // cut in the middle of a character
      {"\xce\xa9", 1},      // Greek capital omega: ambiguous width counts as one
  };
  for (const auto& [text, width] : cases) EXPECT_EQ(DisplayWidth(text), width) << text;
}

TEST(TableOutput, TextAlignsColumnsByDisplayWidth) {
  const Table table{{"ID", "id", "软件类目"}, {{"1", "c-1", "系统"}, {"10", "办公-2", "Office"}}};
  EXPECT_EQ(Written(table, OutputFormat::Text),
            "ID  id      软件类目\n"
            "1   c-1     系统\n"
            "10  办公-2  Office\n");
}

TEST(TableOutput, TextKeepsControlCharactersOffTheTerminal) {
  const Table table{{"a", "b"},
                    {{"x\x1b[31mred", "tab\there"},
                     {"\xc2\x9b"
                      "2J",
                      "\r\n"}}};
  EXPECT_EQ(Written(table, OutputFormat::Text),
            "a          b\n"
            "x?[31mred  tab?here\n"
            "?2J        ??\n");
}

TEST(TableOutput, EmptyTables) {
  const Table table{{"ID", "name"}, {}};
  EXPECT_EQ(Written(table, OutputFormat::Text), "");
  EXPECT_EQ(Written(table, OutputFormat::Tsv), "");
  EXPECT_EQ(Written(table, OutputFormat::Json), "[]\n");
}

TEST(TableOutput, TsvIsOneLinePerRow) {
  const Table table{{"ID", "文件名", "链接"},
                    {{"1", "a b.iso", "https://x/a"}, {"2", "tab\tnew\nline\\cr\r", ""}}};
  EXPECT_EQ(Written(table, OutputFormat::Tsv),
            "1\ta b.iso\thttps://x/a\n"
            "2\ttab\\tnew\\nline\\\\cr\\r\t\n");
}

TEST(TableOutput, JsonKeysRowsByColumnTitlesInOrder) {
  const Table table{{"ID", "文件名", "SHA1"},
                    {{"1", "\"quoted\" \\ name", "AB"}, {"2", "系统", ""}}};
  EXPECT_EQ(Written(table, OutputFormat::Json),
            "[\n"
            "  {\n"
            "    \"ID\": \"1\",\n"
            "    \"文件名\": \"\\\"quoted\\\" \\\\ name\",\n"
            "    \"SHA1\": \"AB\"\n"
            "  },\n"
            "  {\n"
            "    \"ID\": \"2\",\n"
            "    \"文件名\": \"系统\",\n"
            "    \"SHA1\": \"\"\n"
            "  }\n"
            "]\n");
}

// Site texts are converted before they get here, but a malformed byte must still give a
// valid document rather than an exception.
TEST(TableOutput, JsonReplacesMalformedUtf8) {
  const Table table{{"name"},
                    {{"a\xff"
                      "b"}}};
  EXPECT_EQ(Written(table, OutputFormat::Json),
            "[\n  {\n    \"name\": \"a\xef\xbf\xbd"
            "b\"\n  }\n]\n");
}

TEST(TableOutput, OneValue) {
  const std::vector<std::tuple<OutputFormat, std::string, std::string>> cases{
      {OutputFormat::Text, "https://x/a.iso", "https://x/a.iso\n"},
      {OutputFormat::Text, "a\nb", "a?b\n"},
      {OutputFormat::Tsv, "a\tb", "a\\tb\n"},
      {OutputFormat::Json, "https://x/a.iso", "{\n  \"下载链接\": \"https://x/a.iso\"\n}\n"},
  };
  for (const auto& [format, value, expected] : cases) {
    std::ostringstream out;
    WriteValue(out, "下载链接", value, format);
    EXPECT_EQ(out.str(), expected);
  }
}

}  // namespace
}  // namespace zendra::cli
