#include "web/header_names.h"

#include "text/text_primitives.h"

namespace zendra {
namespace {

Text CapitaliseName(std::string_view name) {
  if (FindText(name, "-") < 1) return CapitaliseFirst(name);
  Text result;
  bool first = true;
  // Splitting drops an empty last part, so a name ending in "-" loses that hyphen.
  for (const Text& part : SplitText(name, "-")) {
    if (!first) result += '-';
    result += CapitaliseFirst(part);
    first = false;
  }
  return result;
}

}  // namespace

Text NormaliseHeaderBlock(std::string_view headers) {
  Text result;
  for (const Text& line : SplitText(headers, "\r\n")) {
    const std::int32_t colon = FindText(line, ":");
    if (colon < 1) continue;
    const auto nameLength = static_cast<std::size_t>(colon - 1);
    result += CapitaliseName(std::string_view(line).substr(0, nameLength));
    result.append(line, nameLength);
    result += "\r\n";
  }
  if (!result.empty()) result.resize(result.size() - 2);
  return result;
}

Text CapitaliseFirst(std::string_view text) {
  Text result(text);
  if (!result.empty() && result.front() >= 'a' && result.front() <= 'z')
    result.front() = static_cast<char>(result.front() - 'a' + 'A');
  return result;
}

}  // namespace zendra
