#include "app/catalogue/catalogue_browser.h"
#include "platform/codepage/code_page.h"
#include "text/extract_between.h"

namespace zendra {
namespace {

const Text& NoDataItem() {
  static const Text text = Cp936FromUtf8("没有数据！");
  return text;
}

}  // namespace

void CatalogueBrowser::LoadProducts(const std::optional<Text>& categoryId) {
  // Without categories there is nothing to ask for; the lists stay as they are.
  if (!categoryId && state_.CategoryIds.empty()) return;
  const Text id = categoryId ? *categoryId : state_.CategoryIds.front();

  const Text answer = Query("/Category/Index", "id=" + id);
  ExtractBetween(answer, "\"id\":\"", "\",\"", state_.ProductIds);
  ExtractBetween(answer, "\"name\":\"", "\"}", state_.ProductNames);

  view_.FillList(CatalogueList::Products, state_.ProductNames);
  view_.SelectItem(CatalogueList::Products, 0);
}

void CatalogueBrowser::LoadLanguages(const std::optional<Text>& productId,
                                     LanguageCascade cascade) {
  if (!productId && state_.ProductIds.empty()) return;
  state_.CurrentProductId = productId ? *productId : state_.ProductIds.front();

  const Text answer = Query("/Category/GetLang", "id=" + state_.CurrentProductId);
  const std::int32_t count =
      ExtractBetween(answer, "\"id\":\"", "\",\"lang\":\"", state_.LanguageIds);
  ExtractBetween(answer, "\",\"lang\":\"", "\"}", state_.LanguageNames);

  if (count == 0) {
    view_.FillList(CatalogueList::Languages, {NoDataItem()});
    view_.EmptyFileList();
    rowLinks_.clear();
    view_.SetLink(Text());
  } else {
    // One item per id; an id without a name shows an empty item.
    TextArray items(static_cast<std::size_t>(count));
    for (std::size_t j = 0; j < items.size() && j < state_.LanguageNames.size(); ++j)
      items[j] = state_.LanguageNames[j];
    view_.FillList(CatalogueList::Languages, items);
  }
  view_.SelectItem(CatalogueList::Languages, 0);
  if (cascade == LanguageCascade::WithFiles) LoadFiles();
}

}  // namespace zendra
