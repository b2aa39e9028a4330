#include "web/cookie_merge.h"

#include <unordered_set>

#include "text/text_primitives.h"
#include "web/item_list.h"

namespace zendra {
namespace {

constexpr std::string_view kSeparator = "; ";

// A final ";" without its blank still separates: "a=1;" is the one item "a=1".
Text Tidied(std::string_view cookies) {
  Text tidied = TrimSpaces(cookies);
  if (!tidied.empty() && tidied.back() == ';') tidied += ' ';
  return tidied;
}

bool IsDeleted(std::string_view item) noexcept { return item.ends_with("=deleted"); }

}  // namespace

Text MergeCookies(Text& oldCookies, std::string_view newCookies) {
  const TextArray older = SplitText(Tidied(oldCookies), kSeparator);
  TextArray merged = SplitText(Tidied(newCookies), kSeparator);
  // The names in the merged list, kept alongside it so that a long cookie text does not
  // make the merge quadratic; the outcome is that of searching the list.
  std::unordered_set<Text> names;
  for (const Text& item : merged) names.insert(CookieName(item));
  for (const Text& item : older) {
    if (names.insert(CookieName(item)).second) merged.push_back(item);
  }

  Text joined;
  for (const Text& item : merged) {
    if (IsDeleted(item)) continue;
    joined += item;
    joined += kSeparator;
  }
  if (joined.size() >= kSeparator.size()) joined.resize(joined.size() - kSeparator.size());
  oldCookies = RemoveDuplicateItems(joined, kSeparator, true);
  return oldCookies;
}

Text CookieName(std::string_view item) {
  const std::int32_t equals = FindText(item, "=");
  return TrimSpaces(equals < 1 ? item : item.substr(0, static_cast<std::size_t>(equals - 1)));
}

bool HasCookieNamed(const TextArray& items, std::string_view name) {
  for (const Text& item : items)
    if (CookieName(item) == name) return true;
  return false;
}

}  // namespace zendra
