#include "app/file_list.h"

#include "app/catalogue_query.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "json/json_object.h"
#include "platform/window/controls.h"
#include "platform/window/paint_events.h"
#include "text/extract_between.h"
#include "text/text_primitives.h"

namespace zendra {

void LoadFiles(MainWindow& window, const std::optional<Text>& languageId) {
  JsonObject details;
  if (!languageId && LanguageIds.empty()) return;
  const Text id = languageId ? *languageId : LanguageIds.front();

  const Text answer = CatalogueQuery("/Category/GetList",
                                     "id=" + CurrentProductId + "&lang=" + id + "&filter=true");
  const std::int32_t count = ExtractBetween(answer, "\"id\":\"", "\",\"name", FileIds);

  QTreeWidget& files = window.fileList();
  ListDeleteAll(files);
  SetText(window.linkEdit(), Text());

  for (std::int32_t i = 0; i < count; ++i) {
    // The first answer that is not a document ends the list; the rows so far stay.
    if (!details.Parse(CatalogueQuery("/Category/GetProduct", "id=" + FileIds[i]))) break;
    const Text fileName = details.GetText("result.FileName");
    const Text downLoad = details.GetText("result.DownLoad");
    const Text postDate = details.GetText("result.PostDateString");
    const Text sha1 = details.GetText("result.SHA1");
    const Text size = details.GetText("result.size");

    const std::int32_t row = ListInsertRow(files);
    ListSetCellText(files, row, 0, ToText(i + 1));
    ListSetCellText(files, row, 1, fileName);
    ListSetCellText(files, row, 2, sha1);
    ListSetCellText(files, row, 3, size);
    ListSetCellText(files, row, 4, postDate);
    ListSetCellText(files, row, 5, downLoad);
    // Rows appear as their details arrive; user input waits until the query ends.
    ProcessPaintEvents();
  }
}

}  // namespace zendra
