#include "app/product_lists.h"

#include "app/catalogue_query.h"
#include "app/file_list.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "platform/codepage/code_page.h"
#include "platform/window/controls.h"
#include "text/extract_between.h"

namespace zendra {
namespace {

void EmptyCombo(QComboBox& combo) {
  const std::int32_t count = ComboItemCount(combo);
  for (std::int32_t i = 0; i < count; ++i) ComboDeleteItem(combo, 0);
}

const Text& NoDataItem() {
  static const Text text = Cp936FromUtf8("没有数据！");
  return text;
}

}  // namespace

void LoadProducts(MainWindow& window, const std::optional<Text>& categoryId) {
  // Without categories there is nothing to ask for; the lists stay as they are.
  if (!categoryId && CategoryIds.empty()) return;
  const Text id = categoryId ? *categoryId : CategoryIds.front();

  const Text answer = CatalogueQuery("/Category/Index", "id=" + id);
  ExtractBetween(answer, "\"id\":\"", "\",\"", ProductIds);
  ExtractBetween(answer, "\"name\":\"", "\"}", ProductNames);

  QComboBox& products = window.productCombo();
  EmptyCombo(products);
  for (const Text& name : ProductNames) ComboAddItem(products, name);
  SetCurrentSelection(products, 0);
}

void LoadLanguages(MainWindow& window, const std::optional<Text>& productId) {
  if (!productId && ProductIds.empty()) return;
  CurrentProductId = productId ? *productId : ProductIds.front();

  const Text answer = CatalogueQuery("/Category/GetLang", "id=" + CurrentProductId);
  const std::int32_t count = ExtractBetween(answer, "\"id\":\"", "\",\"lang\":\"", LanguageIds);
  ExtractBetween(answer, "\",\"lang\":\"", "\"}", LanguageNames);

  QComboBox& languages = window.languageCombo();
  EmptyCombo(languages);
  if (count == 0) {
    ComboAddItem(languages, NoDataItem());
    ListDeleteAll(window.fileList());
    SetText(window.linkEdit(), Text());
  } else {
    // One item per id; an id without a name shows an empty item.
    for (std::int32_t j = 0; j < count; ++j)
      ComboAddItem(languages,
                   j < static_cast<std::int32_t>(LanguageNames.size()) ? LanguageNames[j] : Text());
  }
  SetCurrentSelection(languages, 0);
  LoadFiles(window);
}

}  // namespace zendra
