#pragma once

#include "platform/types.h"

namespace zendra {

// The HTTPS address of the catalogue's home page, ending in a slash; chosen at build time.
const Text& CatalogueBaseUrl();

// The only header text that catalogue requests pass.
const Text& UserAgentLine();

// Points the browser at another site for its lifetime: tests start their own.
// The program never uses it.
class ScopedCatalogueBaseUrl {
 public:
  explicit ScopedCatalogueBaseUrl(Text url);
  ~ScopedCatalogueBaseUrl();
  ScopedCatalogueBaseUrl(const ScopedCatalogueBaseUrl&) = delete;
  ScopedCatalogueBaseUrl& operator=(const ScopedCatalogueBaseUrl&) = delete;

 private:
  Text previous_;
};

}  // namespace zendra
