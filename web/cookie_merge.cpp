#include "web/cookie_merge.h"

#include <unordered_set>

#include "text/text_primitives.h"

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

Text JoinCookieItems(const TextArray& items) {
  Text joined;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += kSeparator;
    joined += items[i];
  }
  return joined;
}

}  // namespace

TextArray SplitCookieItems(std::string_view cookies) {
  TextArray items;
  while (!cookies.empty()) {
    const std::size_t separator = cookies.find(kSeparator);
    items.emplace_back(cookies.substr(0, separator));
    if (separator == std::string_view::npos) break;
    cookies.remove_prefix(separator + kSeparator.size());
  }
  return items;
}

bool IsSendableCookie(std::string_view item) noexcept {
  if (item.size() > kMaxCookieItemBytes) return false;
  for (const char c : item) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

Text LatestCookies(const TextArray& itemsInSetOrder) {
  std::size_t first = itemsInSetOrder.size();
  std::size_t count = 0;
  std::size_t bytes = 0;
  for (std::size_t k = itemsInSetOrder.size(); k-- > 0;) {
    const Text& item = itemsInSetOrder[k];
    if (!IsSendableCookie(item)) continue;
    const std::size_t added = item.size() + (count == 0 ? 0 : kSeparator.size());
    if (count == kMaxCookiesPerSite || bytes + added > kMaxCookieTextBytes) break;
    ++count;
    bytes += added;
    first = k;
  }
  TextArray kept;
  for (std::size_t k = first; k < itemsInSetOrder.size(); ++k)
    if (IsSendableCookie(itemsInSetOrder[k])) kept.push_back(itemsInSetOrder[k]);
  return JoinCookieItems(kept);
}

Text BoundCookies(std::string_view cookies) {
  TextArray kept;
  std::size_t bytes = 0;
  for (Text& item : SplitCookieItems(cookies)) {
    if (!IsSendableCookie(item)) continue;
    const std::size_t added = item.size() + (kept.empty() ? 0 : kSeparator.size());
    if (kept.size() == kMaxCookiesPerSite || bytes + added > kMaxCookieTextBytes) break;
    bytes += added;
    kept.push_back(std::move(item));
  }
  return JoinCookieItems(kept);
}

Text MergeCookies(Text& oldCookies, std::string_view newCookies) {
  const TextArray older = SplitCookieItems(Tidied(oldCookies));
  TextArray merged = SplitCookieItems(Tidied(newCookies));
  // The names in the merged list, kept alongside it so that a long cookie text does not
  // make the merge quadratic; the outcome is that of searching the list.
  std::unordered_set<Text> names;
  for (const Text& item : merged) names.insert(CookieName(item));
  for (const Text& item : older) {
    if (names.insert(CookieName(item)).second) merged.push_back(item);
  }

  // Exact repeats go; the items are compared as the byte split gives them, so that a
  // value ending in a stray lead byte cannot merge with the item behind it.
  std::unordered_set<std::string_view> taken;
  TextArray kept;
  for (const Text& item : merged) {
    if (IsDeleted(item) || !taken.insert(item).second) continue;
    kept.push_back(item);
  }
  oldCookies = JoinCookieItems(kept);
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
