#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zendra::site {

// One downloadable image. The download link is made from the file name when answering,
// because only then is the site's port known.
struct CatalogueFile {
  std::string id;
  std::string fileName;
  std::string sha1;
  std::int64_t size = 0;
  std::string postDate;  // "2019-11-27"
};

struct CatalogueLanguage {
  std::string id;
  std::string name;
  std::vector<CatalogueFile> files;
};

struct CatalogueProduct {
  std::string id;
  std::string name;
  std::vector<CatalogueLanguage> languages;
};

struct CatalogueCategory {
  std::string id;
  std::string name;
  std::vector<CatalogueProduct> products;
};

// Every text is UTF-8, as the site sends it.
struct Catalogue {
  std::vector<CatalogueCategory> categories;

  // Lookups by id; nullptr when the id is unknown.
  const CatalogueCategory* FindCategory(std::string_view id) const noexcept;
  const CatalogueProduct* FindProduct(std::string_view id) const noexcept;
  const CatalogueLanguage* FindLanguage(const CatalogueProduct& product,
                                        std::string_view id) const noexcept;
  const CatalogueFile* FindFile(std::string_view id) const noexcept;
  const CatalogueFile* FindFileByName(std::string_view fileName) const noexcept;

  std::size_t ProductCount() const noexcept;
  std::size_t FileCount() const noexcept;
};

// The catalogue the site serves unless told otherwise: made-up products, deterministic.
Catalogue BundledCatalogue();

// Gives the first language of the first product of the first category exactly `count`
// files (what start-up lists), made up like the others, so that a measurement can choose
// the length of that list. Leaves a catalogue without such a language alone.
void SetFirstFileCount(Catalogue& catalogue, std::size_t count);

}  // namespace zendra::site
