#include "app/cli/cli_view.h"

#include <algorithm>

#include "platform/codepage/code_page.h"

namespace zendra::cli {

CliView::List& CliView::ListOf(CatalogueList list) {
  return lists_[static_cast<std::size_t>(list)];
}

const std::vector<std::string>& CliView::Items(CatalogueList list) const {
  return lists_[static_cast<std::size_t>(list)].items;
}

std::int32_t CliView::Selection(CatalogueList list) const {
  return lists_[static_cast<std::size_t>(list)].selection;
}

void CliView::FillList(CatalogueList list, const TextArray& items) {
  List& target = ListOf(list);
  target.items.clear();
  for (const Text& item : items) target.items.push_back(Utf8FromCp936(item));
  target.selection = -1;
}

void CliView::SelectItem(CatalogueList list, std::int32_t index) {
  List& target = ListOf(list);
  const auto count = static_cast<std::int32_t>(target.items.size());
  target.selection = count == 0 ? -1 : std::clamp(index, 0, count - 1);
}

void CliView::EmptyFileList() {
  rows_.clear();
  // The ids of the files have arrived; their details follow one by one.
  if (rowProgress_) rowProgress_(0);
}

std::int32_t CliView::AddRow() {
  rows_.emplace_back(static_cast<std::size_t>(kColumns));
  return static_cast<std::int32_t>(rows_.size()) - 1;
}

void CliView::SetCell(std::int32_t row, std::int32_t column, const Text& text) {
  if (row < 0 || row >= static_cast<std::int32_t>(rows_.size()) || column < 0 ||
      column >= kColumns) {
    return;
  }
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = Utf8FromCp936(text);
}

void CliView::SetLink(const Text& link) { link_ = Utf8FromCp936(link); }

bool CliView::CopyToClipboard(const Text&) { return false; }

void CliView::ShowMessage(const Text&, const Text&) {}

void CliView::Repaint() {
  if (rowProgress_) rowProgress_(rows_.size());
}

void CliView::SetBusy(bool) {}

}  // namespace zendra::cli
