#pragma once

#include "platform/types.h"

namespace zendra {

// The HTTPS address of the catalogue's home page, ending in a slash; chosen at build time.
const Text& CatalogueBaseUrl();

// The only header text that catalogue requests pass.
const Text& UserAgentLine();

}  // namespace zendra
