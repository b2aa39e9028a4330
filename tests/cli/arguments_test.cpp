#include "app/cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zendra::cli {
namespace {

struct Accepted {
  std::vector<std::string> arguments;
  std::string command;
  std::optional<std::string> category, product, language, file;
  OutputFormat format = OutputFormat::Text;
  std::optional<std::string> baseUrl;
};

TEST(Arguments, AcceptedCommandLines) {
  const std::vector<Accepted> cases{
      {{"categories"}, "categories"},
      {{"products", "--category", "系统"}, "products", "系统"},
      {{"--category=2", "products"}, "products", "2"},
      {{"languages", "--product", "p-1", "--category", "c-1"}, "languages", "c-1", "p-1"},
      {{"files", "--language", "English", "--format", "json"},
       "files",
       {},
       {},
       "English",
       {},
       OutputFormat::Json},
      {{"--format=tsv", "files"}, "files", {}, {}, {}, {}, OutputFormat::Tsv},
      // The last of a repeated option counts.
      {{"products", "--category", "1", "--category", "3"}, "products", "3"},
      {{"link", "--file", "a.iso"}, "link", {}, {}, {}, "a.iso"},
      {{"sha1", "--file=2", "--product", "Orbis Studio 2012"},
       "sha1",
       {},
       "Orbis Studio 2012",
       {},
       "2"},
      // A value may look like an option's name or be empty: it is still the value.
      {{"products", "--category", "--format"}, "products", "--format"},
      {{"products", "--category="}, "products", ""},
      {{"categories", "--base-url", "https://127.0.0.1:1/"},
       "categories",
       {},
       {},
       {},
       {},
       OutputFormat::Text,
       "https://127.0.0.1:1/"},
      // The slash that ends a base address is added when it is missing.
      {{"--base-url=http://example.invalid", "categories"},
       "categories",
       {},
       {},
       {},
       {},
       OutputFormat::Text,
       "http://example.invalid/"},
  };
  for (const Accepted& c : cases) {
    const ParsedArguments parsed = ParseArguments(c.arguments);
    const std::string line = testing::PrintToString(c.arguments);
    ASSERT_EQ(parsed.error, "") << line;
    ASSERT_NE(parsed.invocation.subcommand, nullptr) << line;
    EXPECT_EQ(parsed.invocation.subcommand->name, c.command) << line;
    EXPECT_EQ(parsed.invocation.category, c.category) << line;
    EXPECT_EQ(parsed.invocation.product, c.product) << line;
    EXPECT_EQ(parsed.invocation.language, c.language) << line;
    EXPECT_EQ(parsed.invocation.file, c.file) << line;
    EXPECT_EQ(parsed.invocation.format, c.format) << line;
    EXPECT_EQ(parsed.invocation.baseUrl, c.baseUrl) << line;
  }
}

TEST(Arguments, HelpAndVersionNeedNoCommand) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--help"}, {"-h"}, {"files", "--help"}, {"--help", "nonsense"}}) {
    const ParsedArguments parsed = ParseArguments(arguments);
    EXPECT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.invocation.help);
  }
  for (const auto& arguments : std::vector<std::vector<std::string>>{{"--version"}, {"-V"}}) {
    const ParsedArguments parsed = ParseArguments(arguments);
    EXPECT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.invocation.version);
  }
}

TEST(Arguments, UsageErrorsSayWhatIsWrong) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--format", "json"}, "no command given"},
      {{"catgories"}, "unknown command \"catgories\""},
      {{"files", "--colour"}, "unknown option --colour"},
      {{"files", "--colour=red"}, "unknown option --colour"},
      {{"files", "-x"}, "unknown option -x"},
      {{"files", "--language"}, "option --language needs a value"},
      {{"files", "--format", "xml"}, "unknown format \"xml\" (choose text, tsv or json)"},
      {{"categories", "--base-url", "127.0.0.1:47443"},
       "--base-url needs an http:// or https:// address"},
      {{"categories", "--category", "1"}, "--category does not apply to categories"},
      {{"products", "--product", "1"}, "--product does not apply to products"},
      {{"files", "--file", "1"}, "--file does not apply to files"},
      {{"link"}, "link needs --file"},
      {{"sha1", "--category", "1"}, "sha1 needs --file"},
      {{"categories", "extra"}, "categories: unexpected argument \"extra\""},
  };
  for (const auto& [arguments, error] : cases) {
    EXPECT_EQ(ParseArguments(arguments).error, error) << testing::PrintToString(arguments);
  }
}

// getopt keeps state between calls: a parse must not inherit the one before it.
TEST(Arguments, EachParseStartsAfresh) {
  EXPECT_NE(ParseArguments({"files", "--bogus"}).error, "");
  const ParsedArguments parsed = ParseArguments({"files", "--language", "2"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.invocation.language, "2");
  EXPECT_EQ(ParseArguments({"link"}).error, "link needs --file");
}

}  // namespace
}  // namespace zendra::cli
