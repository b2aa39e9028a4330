#include "web/item_list.h"

#include <unordered_set>

#include "text/text_primitives.h"

namespace zendra {

std::int32_t SplitCharacters(std::string_view text, TextArray* characters) {
  TextArray local;
  TextArray& result = characters ? *characters : local;
  result.clear();
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool last = i + 1 == text.size();
    const bool pair = !last && (byte >= 0x81 || (byte == '\r' && text[i + 1] == '\n'));
    const std::size_t length = pair ? 2 : 1;
    result.emplace_back(text.substr(i, length));
    i += length;
  }
  return static_cast<std::int32_t>(result.size());
}

Text RemoveDuplicateItems(std::string_view text, std::string_view separator,
                          bool splitBySeparator) {
  TextArray items;
  if (splitBySeparator) {
    items = SplitText(text, separator);
  } else {
    SplitCharacters(text, &items);
  }
  // A set stands in for searching the taken items, which would be quadratic on a long
  // cookie text from a hostile answer; the result is the same.
  std::unordered_set<std::string_view> taken;
  Text result;
  for (const Text& item : items) {
    if (!taken.insert(item).second) continue;
    result += item;
    result += separator;
  }
  result.resize(result.size() >= separator.size() ? result.size() - separator.size() : 0);
  return result;
}

std::int32_t FindItem(const TextArray& items, std::string_view item) noexcept {
  for (std::size_t k = 0; k < items.size(); ++k)
    if (items[k] == item) return static_cast<std::int32_t>(k + 1);
  return -1;
}

}  // namespace zendra
