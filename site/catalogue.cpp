#include "site/catalogue.h"

namespace zendra::site {

const CatalogueCategory* Catalogue::FindCategory(std::string_view id) const noexcept {
  for (const auto& category : categories) {
    if (category.id == id) return &category;
  }
  return nullptr;
}

const CatalogueProduct* Catalogue::FindProduct(std::string_view id) const noexcept {
  for (const auto& category : categories) {
    for (const auto& product : category.products) {
      if (product.id == id) return &product;
    }
  }
  return nullptr;
}

const CatalogueLanguage* Catalogue::FindLanguage(const CatalogueProduct& product,
                                                 std::string_view id) const noexcept {
  for (const auto& language : product.languages) {
    if (language.id == id) return &language;
  }
  return nullptr;
}

const CatalogueFile* Catalogue::FindFile(std::string_view id) const noexcept {
  for (const auto& category : categories) {
    for (const auto& product : category.products) {
      for (const auto& language : product.languages) {
        for (const auto& file : language.files) {
          if (file.id == id) return &file;
        }
      }
    }
  }
  return nullptr;
}

const CatalogueFile* Catalogue::FindFileByName(std::string_view fileName) const noexcept {
  for (const auto& category : categories) {
    for (const auto& product : category.products) {
      for (const auto& language : product.languages) {
        for (const auto& file : language.files) {
          if (file.fileName == fileName) return &file;
        }
      }
    }
  }
  return nullptr;
}

std::size_t Catalogue::ProductCount() const noexcept {
  std::size_t count = 0;
  for (const auto& category : categories) count += category.products.size();
  return count;
}

std::size_t Catalogue::FileCount() const noexcept {
  std::size_t count = 0;
  for (const auto& category : categories) {
    for (const auto& product : category.products) {
      for (const auto& language : product.languages) count += language.files.size();
    }
  }
  return count;
}

}  // namespace zendra::site
