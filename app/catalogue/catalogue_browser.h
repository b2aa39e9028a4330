#pragma once

#include <cstdint>
#include <optional>

#include "app/catalogue/catalogue_view.h"
#include "platform/http/http_request.h"
#include "platform/types.h"

namespace zendra {

// The catalogue carried from one query to the next. Item k of a list (from 0) belongs
// to element k of its id array.
struct CatalogueState {
  Text SiteCookies;
  TextArray CategoryIds;
  TextArray ProductIds;
  TextArray ProductNames;
  Text CurrentProductId;
  TextArray LanguageIds;
  TextArray LanguageNames;
  TextArray FileIds;
};

// How the last home-page request ended: what start-up tells the user when it found no
// catalogue.
struct HomePageOutcome {
  std::int32_t status = 0;  // 0: no answer
  SendFailure failure = SendFailure::None;
};

// The catalogue site as a cascade of lists: loads the home page and the lists below it,
// answers the user's picks, and shows everything through its view. Requests block the
// caller until the answer is in; every failure leaves the lists as the answers give them.
class CatalogueBrowser {
 public:
  // baseUrl: the HTTPS address of the catalogue's home page, ending in a slash.
  CatalogueBrowser(Text baseUrl, CatalogueView& view);
  CatalogueBrowser(const CatalogueBrowser&) = delete;
  CatalogueBrowser& operator=(const CatalogueBrowser&) = delete;

  const CatalogueState& State() const noexcept { return state_; }
  const Text& BaseUrl() const noexcept { return baseUrl_; }
  const HomePageOutcome& LastHomePage() const noexcept { return homePage_; }

  // Loads the home page, starts the running cookie text and fills the category list
  // with its first item selected.
  void LoadHomePage();
  // The products of a category; without an id, of the first category.
  void LoadProducts(const std::optional<Text>& categoryId = std::nullopt);
  // Whether LoadLanguages goes on to the files of the first language, as the window's
  // cascade does, or stops at the language list (a command that needs no files).
  enum class LanguageCascade { WithFiles, ListOnly };
  // The languages of a product, then the files of its first language; without an id,
  // of the first product.
  void LoadLanguages(const std::optional<Text>& productId = std::nullopt,
                     LanguageCascade cascade = LanguageCascade::WithFiles);
  // The files of the current product in one language, one row per file; without an id,
  // in the first language.
  void LoadFiles(const std::optional<Text>& languageId = std::nullopt);

  // Start-up once the view is shown: the home page and the first of every list.
  void OnMainWindowCreated();
  // The user's own picks, with the index of the picked item, and the double-click on
  // the file list, with the selected row (-1 for none).
  void OnCategorySelected(std::int32_t index);
  void OnProductSelected(std::int32_t index);
  void OnLanguageSelected(std::int32_t index);
  void OnFileDoubleClicked(std::int32_t row);

 private:
  Text Query(const Text& path, const Text& body);
  Text RequestHomePage(Text* cookies, Text& returnedCookies);

  HomePageOutcome homePage_;

  Text baseUrl_;
  CatalogueView& view_;
  CatalogueState state_;
  // The download link of each row of the file list, as the rows were filled.
  TextArray rowLinks_;
};

}  // namespace zendra
