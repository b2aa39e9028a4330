#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_view.h"

namespace zendra::cli {

// The catalogue as the window would show it, kept as UTF-8 for printing: the three
// lists with their selection, the file list's rows and the link. Nothing is shown while
// the queries run except, when asked for, the file rows' progress.
class CliView final : public CatalogueView {
 public:
  // Called when the file list is emptied for new rows and after each row, with the rows
  // so far.
  using RowProgress = std::function<void(std::size_t rows)>;

  void SetRowProgress(RowProgress progress) { rowProgress_ = std::move(progress); }

  const std::vector<std::string>& Items(CatalogueList list) const;
  std::int32_t Selection(CatalogueList list) const;
  const std::vector<std::vector<std::string>>& Rows() const { return rows_; }
  const std::string& Link() const { return link_; }

  void FillList(CatalogueList list, const TextArray& items) override;
  void SelectItem(CatalogueList list, std::int32_t index) override;
  void EmptyFileList() override;
  std::int32_t AddRow() override;
  void SetCell(std::int32_t row, std::int32_t column, const Text& text) override;
  void SetLink(const Text& link) override;
  // A terminal has no clipboard of its own; nothing asks for one here.
  bool CopyToClipboard(const Text& text) override;
  void ShowMessage(const Text& text, const Text& title) override;
  void Repaint() override;
  void SetBusy(bool busy) override;

  static constexpr std::int32_t kColumns = 6;

 private:
  struct List {
    std::vector<std::string> items;
    std::int32_t selection = -1;
  };
  List& ListOf(CatalogueList list);

  std::array<List, 3> lists_;
  std::vector<std::vector<std::string>> rows_;
  std::string link_;
  RowProgress rowProgress_;
};

}  // namespace zendra::cli
