#pragma once

#include <string>

#include "site/catalogue.h"

namespace zendra::site {

// The page a first visit gets: the browser recognises it by its title and asks again
// with the cookies it was given.
std::string RedirectPage();

// The home page: one collapsible menu panel per category, in catalogue order, padded with
// the usual page furniture to the weight of a real home page (about 150 KiB).
std::string HomePage(const Catalogue& catalogue);

// Small pages so that download links and sponsor codes lead somewhere.
std::string DownloadPage(const CatalogueFile* file);
std::string SponsorPage(const std::string& number);

}  // namespace zendra::site
