#pragma once

#include <string>

#include "app/catalogue/catalogue_browser.h"

namespace zendra {

// Why start-up ended without a single category, in a few words: "site unreachable",
// "TLS failure", "HTTP status N", "no catalogue in the answer".
std::string EmptyCatalogueReason(const HomePageOutcome& outcome);

}  // namespace zendra
