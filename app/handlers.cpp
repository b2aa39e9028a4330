#include "app/handlers.h"

#include "app/file_list.h"
#include "app/globals.h"
#include "app/home_page.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/product_lists.h"
#include "platform/codepage/code_page.h"
#include "platform/window/controls.h"
#include "platform/window/paint_events.h"
#include "platform/window/wait_cursor.h"

namespace zendra {
namespace {

// The id that belongs to the picked item, when there is one: a list of names longer
// than its list of ids leaves items without an id, and picking one does nothing.
const Text* IdOfPick(const QComboBox& combo, const TextArray& ids) {
  const std::int32_t k = GetCurrentSelection(combo);
  if (k < 0 || k >= static_cast<std::int32_t>(ids.size())) return nullptr;
  return &ids[k];
}

}  // namespace

void OnMainWindowCreated(MainWindow& window) {
  ShowPictures(window);
  ProcessPaintEvents();
  WaitCursor busy;
  LoadHomePage(window);
  LoadProducts(window);
  LoadLanguages(window);
}

void OnCategorySelected(MainWindow& window) {
  WaitCursor busy;
  if (const Text* id = IdOfPick(window.categoryCombo(), CategoryIds)) LoadProducts(window, *id);
}

void OnProductSelected(MainWindow& window) {
  WaitCursor busy;
  if (const Text* id = IdOfPick(window.productCombo(), ProductIds)) LoadLanguages(window, *id);
}

void OnLanguageSelected(MainWindow& window) {
  if (LanguageIds.empty()) return;
  WaitCursor busy;
  if (const Text* id = IdOfPick(window.languageCombo(), LanguageIds)) LoadFiles(window, *id);
}

void OnFileDoubleClicked(MainWindow& window) {
  static const Text message = Cp936FromUtf8("下载链接复制到剪切板成功！");
  static const Text title = Cp936FromUtf8("提示：");
  const std::int32_t row = GetCurrentSelection(window.fileList());
  const Text link = ListGetCellText(window.fileList(), row, 5);
  SetText(window.linkEdit(), link);
  if (SetClipboardText(link)) ShowMessageBox(message, title);
}

}  // namespace zendra
