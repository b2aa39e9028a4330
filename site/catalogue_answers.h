#pragma once

#include <string>
#include <string_view>

#include "site/catalogue.h"

namespace zendra::site {

// The JSON answers of the four /Category/ endpoints. They are compact (no blank after ':'
// or ','), keep "id" first and the closing member last, and write non-ASCII text raw,
// because the browser cuts values out between exact markers instead of parsing.
std::string JsonString(std::string_view text);
std::string ProductsAnswer(const CatalogueCategory* category);
std::string LanguagesAnswer(const CatalogueProduct* product);
std::string FilesAnswer(const CatalogueLanguage* language);
std::string DetailsAnswer(const CatalogueFile* file, std::string_view baseUrl);
std::string DownloadLink(const CatalogueFile& file, std::string_view baseUrl);

}  // namespace zendra::site
