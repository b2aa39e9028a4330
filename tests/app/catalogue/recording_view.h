#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_view.h"
#include "platform/codepage/code_page.h"

namespace zendra {

// A view that writes down every call, in order, as one line of UTF-8, together with the
// number of requests the site had received at that moment.
class RecordingView : public CatalogueView {
 public:
  struct Event {
    std::string call;
    std::size_t requests;
    bool operator==(const Event&) const = default;
  };

  explicit RecordingView(std::function<std::size_t()> requestCount)
      : requestCount_(std::move(requestCount)) {}

  void FillList(CatalogueList list, const TextArray& items) override {
    std::string line = "fill " + Name(list) + ":";
    for (const Text& item : items) line += " [" + Utf8FromCp936(item) + "]";
    Record(line);
  }
  void SelectItem(CatalogueList list, std::int32_t index) override {
    Record("select " + Name(list) + " " + std::to_string(index));
  }
  void EmptyFileList() override {
    rows_ = 0;
    Record("empty files");
  }
  std::int32_t AddRow() override {
    Record("add row " + std::to_string(rows_));
    return rows_++;
  }
  void SetCell(std::int32_t row, std::int32_t column, const Text& text) override {
    Record("cell " + std::to_string(row) + "/" + std::to_string(column) + " " +
           Utf8FromCp936(text));
  }
  void SetLink(const Text& link) override { Record("link " + Utf8FromCp936(link)); }
  bool CopyToClipboard(const Text& text) override {
    Record("copy " + Utf8FromCp936(text));
    return clipboardWorks;
  }
  void ShowMessage(const Text& text, const Text& title) override {
    Record("message " + Utf8FromCp936(title) + " " + Utf8FromCp936(text));
  }
  void Repaint() override { Record("repaint"); }
  void SetBusy(bool busy) override { Record(busy ? "busy" : "idle"); }

  // The calls without the cells' texts, which most rules do not look at.
  std::vector<Event> WithoutCells() const {
    std::vector<Event> kept;
    for (const Event& event : events)
      if (event.call.rfind("cell ", 0) != 0) kept.push_back(event);
    return kept;
  }

  std::vector<Event> events;
  bool clipboardWorks = true;

 private:
  static std::string Name(CatalogueList list) {
    switch (list) {
      case CatalogueList::Categories:
        return "categories";
      case CatalogueList::Products:
        return "products";
      case CatalogueList::Languages:
        return "languages";
    }
    return "?";
  }
  void Record(std::string call) { events.push_back({std::move(call), requestCount_()}); }

  std::function<std::size_t()> requestCount_;
  std::int32_t rows_ = 0;
};

inline void PrintTo(const RecordingView::Event& event, std::ostream* out) {
  *out << "{\"" << event.call << "\", " << event.requests << "}";
}

}  // namespace zendra
