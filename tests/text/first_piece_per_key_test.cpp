#include "text/first_piece_per_key.h"

#include <gtest/gtest.h>

#include "platform/codepage/code_page.h"
#include "text/extract_between.h"

namespace zendra {
namespace {

constexpr std::string_view kLeftTail = "\">";
constexpr std::string_view kRightHead = "</a><i id=\"c_";

Text Menu(std::string_view id, std::string_view name) {
  return Text("<a href=\"#") + Text(id) + "\">" + Text(name) + "</a><i id=\"c_" + Text(id) + "\">";
}

TEST(FirstPiecePerKeyTest, KeysAreTakenAsTheyStand) {
  const Text euro = Cp936FromUtf8("€(");
  const Text page = Menu("|", "bar") + Menu(".", "dot") + Menu(euro, "euro") + Menu("^a$", "anchors") +
                    Menu("c-1", "one") + Menu("c-10", "ten") + Menu("C-2", "two");
  const struct {
    Text key;
    Text piece;
  } cases[] = {
      {"|", "bar"},   {".", "dot"},     {euro, "euro"}, {"^a$", "anchors"},
      {"c-1", "one"}, {"c-10", "ten"},  {"c-2", "two"},  // letter case ignored
      {"c-3", ""},    {"", "bar"},      {"a", ""},
  };
  TextArray keys;
  for (const auto& c : cases) keys.push_back(c.key);
  const TextArray pieces = FirstPiecePerKey(page, keys, kLeftTail, kRightHead);
  ASSERT_EQ(pieces.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(pieces[i], cases[i].piece) << keys[i];
}

TEST(FirstPiecePerKeyTest, AgreesWithExtractBetweenForPlainKeys) {
  // Repeats, a left marker without its right one, names across other entries, a key that
  // ends another, a key inside a double-byte character's bytes.
  const Text wide = Cp936FromUtf8("丂");  // 81 40: its second byte is "@"
  const Text page = "x\">no right" + Menu("k", "first") + Menu("k", "second") + "ak\">" +
                    Menu("bk", "b") + "<a href=\"#" + wide + "\">w</a><i id=\"c_@\">" +
                    Menu("m", "spans") + Menu("z", "z") + "</a><i id=\"c_m";
  const TextArray keys = {"k", "ak", "bk", "@", "m", "z", "x", "K"};
  const TextArray pieces = FirstPiecePerKey(page, keys, kLeftTail, kRightHead);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    TextArray expected;
    ExtractBetween(page, keys[i] + Text(kLeftTail), Text(kRightHead) + keys[i], expected);
    EXPECT_EQ(pieces[i], expected.empty() ? Text() : expected.front()) << keys[i];
  }
}

}  // namespace
}  // namespace zendra
