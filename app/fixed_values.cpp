#include "app/fixed_values.h"

#include <utility>

namespace zendra {
namespace {

Text& BaseUrl() {
  static Text url = ZENDRA_BASE_URL;
  return url;
}

}  // namespace

const Text& CatalogueBaseUrl() { return BaseUrl(); }

const Text& UserAgentLine() {
  static const Text line =
      "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
      "Chrome/70.0.3538.25 Safari/537.36 Core/1.70.3741.400 QQBrowser/10.5.3863.400\r\n";
  return line;
}

ScopedCatalogueBaseUrl::ScopedCatalogueBaseUrl(Text url)
    : previous_(std::exchange(BaseUrl(), std::move(url))) {}

ScopedCatalogueBaseUrl::~ScopedCatalogueBaseUrl() { BaseUrl() = std::move(previous_); }

}  // namespace zendra
