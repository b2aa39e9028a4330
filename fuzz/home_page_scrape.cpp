// The start-up's category scrape over a home page whose ids and names the site controls:
// the ids between the menu markers, then each id's first name. Always: one name per id,
// and each name is what a direct search finds, character by character, for the id taken
// as plain text (ASCII letters without case).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/extract_between.h"
#include "text/first_piece_per_key.h"
#include "text/literal_search.h"

namespace {

using zendra::Text;
using zendra::TextArray;

constexpr std::string_view kIdLeft = "data-menuid=\"";
constexpr std::string_view kIdRight = "\" data-target";
constexpr std::string_view kNameTail = "\">";
constexpr std::string_view kNameHead = "</a></h4></div><div id=\"collapse_";

void Check(bool condition) {
  if (!condition) std::abort();
}

// The characters of a text as the code page converter reads them, ASCII letters folded.
std::vector<std::string> Characters(std::string_view text) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = zendra::CharacterBytes(text, i);
    std::string c(text.substr(i, length));
    if (length == 1 && c[0] >= 'A' && c[0] <= 'Z') c[0] = static_cast<char>(c[0] - 'A' + 'a');
    characters.push_back(c);
    i += length;
  }
  return characters;
}

// Character index of the first place at or after `from` where sought stands; -1 when none.
long FindCharacters(const std::vector<std::string>& text, std::size_t from,
                    const std::vector<std::string>& sought) {
  for (std::size_t at = from; at + sought.size() <= text.size(); ++at) {
    std::size_t k = 0;
    while (k < sought.size() && text[at + k] == sought[k]) ++k;
    if (k == sought.size()) return static_cast<long>(at);
  }
  return -1;
}

Text SlowFirstName(std::string_view page, const Text& id) {
  const std::vector<std::string> characters = Characters(page);
  const std::vector<std::string> left = Characters(id + Text(kNameTail));
  const std::vector<std::string> right = Characters(Text(kNameHead) + id);
  const long begin = FindCharacters(characters, 0, left);
  if (begin < 0) return {};
  const std::size_t middle = static_cast<std::size_t>(begin) + left.size();
  const long end = FindCharacters(characters, middle, right);
  if (end < 0) return {};
  Text name;
  for (std::size_t i = middle; i < static_cast<std::size_t>(end); ++i) name += characters[i];
  return name;
}

// Folded characters joined back, to compare a found name with the direct search's.
Text Folded(std::string_view text) {
  Text folded;
  for (const auto& c : Characters(text)) folded += c;
  return folded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  // A page of menu entries as the site writes them, with site-chosen ids, names and
  // furniture between them; sometimes the markers are cut or repeated.
  Text page;
  const int entries = provider.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < entries && provider.remaining_bytes() > 0; ++i) {
    const Text id = provider.ConsumeRandomLengthString(24);
    const Text name = provider.ConsumeRandomLengthString(24);
    const Text furniture = provider.ConsumeRandomLengthString(16);
    switch (provider.ConsumeIntegralInRange(0, 3)) {
      case 0:
        page += "<h4><a " + Text(kIdLeft) + id + Text(kIdRight) + "=\"#collapse_" + id +
                "\" id=\"m_" + id + Text(kNameTail) + name + Text(kNameHead) + id + "\"></div>";
        break;
      case 1:
        page += Text(kIdLeft) + id + Text(kIdRight) + furniture + id + Text(kNameTail) + name;
        break;
      case 2:
        page += Text(kNameHead) + id + furniture;
        break;
      default:
        page += furniture + id + Text(kNameTail);
        break;
    }
  }
  page += provider.ConsumeRemainingBytesAsString();

  TextArray ids;
  zendra::ExtractBetween(page, kIdLeft, kIdRight, ids);
  const TextArray names = zendra::FirstPiecePerKey(page, ids, kNameTail, kNameHead);
  Check(names.size() == ids.size());
  // The direct search is slow: the first ids are enough to compare.
  for (std::size_t i = 0; i < ids.size() && i < 32; ++i) {
    Check(Folded(names[i]) == Folded(SlowFirstName(page, ids[i])));
    Check(page.find(names[i]) != Text::npos);
  }
  return 0;
}
