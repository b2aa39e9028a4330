#pragma once

#include <cstdint>

#include "platform/types.h"

namespace zendra {

// The three cascading lists, from the top of the cascade down.
enum class CatalogueList { Categories, Products, Languages };

// What the catalogue shows and where: a window, a terminal or a test's recorder. Texts
// are code page 936; items and rows count from 0.
class CatalogueView {
 public:
  virtual ~CatalogueView() = default;

  // The list holds exactly these items, in this order, and none is selected.
  virtual void FillList(CatalogueList list, const TextArray& items) = 0;
  // Selects an item without reporting it as a pick. An index past the last item selects
  // the last one; an empty list keeps no selection.
  virtual void SelectItem(CatalogueList list, std::int32_t index) = 0;

  // The file list with no rows.
  virtual void EmptyFileList() = 0;
  // Appends an empty row to the file list and returns its index.
  virtual std::int32_t AddRow() = 0;
  // Out-of-range rows or columns change nothing.
  virtual void SetCell(std::int32_t row, std::int32_t column, const Text& text) = 0;

  // The download link shown under the file list; the empty text clears it.
  virtual void SetLink(const Text& link) = 0;
  // True only when the clipboard really holds the text afterwards.
  virtual bool CopyToClipboard(const Text& text) = 0;
  // A message with a title and one way to dismiss it; returns when it is dismissed.
  virtual void ShowMessage(const Text& text, const Text& title) = 0;

  // Lets what changed so far appear while a query is still running.
  virtual void Repaint() = 0;
  // A query runs between the true and the false call; calls do not nest.
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace zendra
