#include "app/catalogue/fixed_values.h"

namespace zendra {

const Text& CatalogueBaseUrl() {
  static const Text url = ZENDRA_BASE_URL;
  return url;
}

const Text& UserAgentLine() {
  static const Text line =
      "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
      "Chrome/70.0.3538.25 Safari/537.36 Core/1.70.3741.400 QQBrowser/10.5.3863.400\r\n";
  return line;
}

}  // namespace zendra
