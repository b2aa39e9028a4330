#include "app/catalogue/catalogue_browser.h"
#include "json/json_object.h"
#include "text/extract_between.h"
#include "text/text_primitives.h"

namespace zendra {
namespace {

// A link goes to the clipboard and from there maybe into a terminal: a line feed in it
// would run its second line, escape sequences would drive the terminal. It is cleaned
// where it is read, so the list, the edit box and every copy hold the same text. Neither
// byte can be the second byte of a double-byte character.
Text WithoutControlCharacters(std::string_view text) {
  Text kept;
  kept.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) kept += c;
  }
  return kept;
}

}  // namespace

void CatalogueBrowser::LoadFiles(const std::optional<Text>& languageId) {
  JsonObject details;
  if (!languageId && state_.LanguageIds.empty()) return;
  const Text id = languageId ? *languageId : state_.LanguageIds.front();

  const Text answer =
      Query("/Category/GetList", "id=" + state_.CurrentProductId + "&lang=" + id + "&filter=true");
  const std::int32_t count = ExtractBetween(answer, "\"id\":\"", "\",\"name", state_.FileIds);

  view_.EmptyFileList();
  rowLinks_.clear();
  view_.SetLink(Text());

  for (std::int32_t i = 0; i < count; ++i) {
    // The first answer that is not a document ends the list; the rows so far stay.
    if (!details.Parse(Query("/Category/GetProduct", "id=" + state_.FileIds[i]))) break;
    const Text fileName = details.GetText("result.FileName");
    const Text downLoad = WithoutControlCharacters(details.GetText("result.DownLoad"));
    const Text postDate = details.GetText("result.PostDateString");
    const Text sha1 = details.GetText("result.SHA1");
    const Text size = details.GetText("result.size");

    const std::int32_t row = view_.AddRow();
    view_.SetCell(row, 0, ToText(i + 1));
    view_.SetCell(row, 1, fileName);
    view_.SetCell(row, 2, sha1);
    view_.SetCell(row, 3, size);
    view_.SetCell(row, 4, postDate);
    view_.SetCell(row, 5, downLoad);
    rowLinks_.push_back(downLoad);
    // Rows appear as their details arrive; user input waits until the query ends.
    view_.Repaint();
  }
}

}  // namespace zendra
