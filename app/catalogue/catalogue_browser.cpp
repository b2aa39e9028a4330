#include "app/catalogue/catalogue_browser.h"

#include <utility>

#include "app/catalogue/fixed_values.h"
#include "platform/codepage/code_page.h"
#include "web/decode_response_text.h"
#include "web/web_request.h"

namespace zendra {
namespace {

// The view shows a busy state while a handler's queries run.
class BusyScope {
 public:
  explicit BusyScope(CatalogueView& view) : view_(view) { view_.SetBusy(true); }
  ~BusyScope() { view_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  CatalogueView& view_;
};

// The id that belongs to the picked item, when there is one: a list of names longer
// than its list of ids leaves items without an id, and picking one does nothing.
const Text* IdOfPick(std::int32_t index, const TextArray& ids) {
  if (index < 0 || index >= static_cast<std::int32_t>(ids.size())) return nullptr;
  return &ids[static_cast<std::size_t>(index)];
}

}  // namespace

CatalogueBrowser::CatalogueBrowser(Text baseUrl, CatalogueView& view)
    : baseUrl_(std::move(baseUrl)), view_(view) {}

Text CatalogueBrowser::Query(const Text& path, const Text& body) {
  // The base URL ends in a slash and every path begins with one.
  const Text url = baseUrl_.substr(0, baseUrl_.size() - 1) + path;
  const Bytes answer = WebRequest(
      url, {.method = 1, .body = body, .cookies = &state_.SiteCookies, .headers = UserAgentLine()});
  return DecodeResponseText(answer);
}

void CatalogueBrowser::OnMainWindowCreated() {
  // The view is painted before the blocking requests begin.
  view_.Repaint();
  BusyScope busy(view_);
  LoadHomePage();
  LoadProducts();
  LoadLanguages();
}

void CatalogueBrowser::OnCategorySelected(std::int32_t index) {
  BusyScope busy(view_);
  if (const Text* id = IdOfPick(index, state_.CategoryIds)) LoadProducts(*id);
}

void CatalogueBrowser::OnProductSelected(std::int32_t index) {
  BusyScope busy(view_);
  if (const Text* id = IdOfPick(index, state_.ProductIds)) LoadLanguages(*id);
}

void CatalogueBrowser::OnLanguageSelected(std::int32_t index) {
  if (state_.LanguageIds.empty()) return;
  BusyScope busy(view_);
  if (const Text* id = IdOfPick(index, state_.LanguageIds)) LoadFiles(*id);
}

void CatalogueBrowser::OnFileDoubleClicked(std::int32_t row) {
  static const Text message = Cp936FromUtf8("下载链接复制到剪切板成功！");
  static const Text title = Cp936FromUtf8("提示：");
  const Text* picked = IdOfPick(row, rowLinks_);
  const Text link = picked ? *picked : Text();
  view_.SetLink(link);
  if (view_.CopyToClipboard(link)) view_.ShowMessage(message, title);
}

}  // namespace zendra
