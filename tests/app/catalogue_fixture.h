#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTreeWidget>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_browser.h"
#include "app/program_main.h"
#include "app/ui/main_window.h"
#include "site/sample_site.h"
#include "tests/support/small_catalogue.h"

namespace zendra {

inline std::vector<std::string> ComboTexts(const QComboBox& combo) {
  std::vector<std::string> texts;
  for (int i = 0; i < combo.count(); ++i) texts.push_back(combo.itemText(i).toStdString());
  return texts;
}

inline std::vector<std::vector<std::string>> Rows(const QTreeWidget& list) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < list.topLevelItemCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < 6; ++c) row.push_back(list.topLevelItem(r)->text(c).toStdString());
    rows.push_back(row);
  }
  return rows;
}

class CatalogueTest : public testing::Test {
 protected:
  explicit CatalogueTest(Catalogue catalogue = SmallCatalogue()) : site_(std::move(catalogue)) {}

  void SetUp() override {
    ASSERT_TRUE(site_.Start());
    FreshBrowser();
    ConnectHandlers(window_, *browser_);
  }

  // A new catalogue on the same window, as when the program starts again.
  void FreshBrowser() { browser_.emplace(site_.BaseUrl(), window_); }
  CatalogueBrowser& browser() { return *browser_; }
  const CatalogueState& State() const { return browser_->State(); }
  void StartUp() { OnMainWindowCreated(window_, *browser_); }

  std::vector<std::string> RequestLines() const {
    std::vector<std::string> lines;
    for (const auto& request : site_.Log()) lines.push_back(RequestLine(request));
    return lines;
  }

  // A user's own pick: the item becomes current, then the toolkit reports the pick.
  static void Pick(QComboBox& combo, int index) {
    combo.setCurrentIndex(index);
    emit combo.activated(index);
  }

  site::SampleSite site_;
  MainWindow window_;
  std::optional<CatalogueBrowser> browser_;
};

}  // namespace zendra
