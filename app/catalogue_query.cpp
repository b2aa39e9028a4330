#include "app/catalogue_query.h"

#include "app/fixed_values.h"
#include "app/globals.h"
#include "web/decode_response_text.h"
#include "web/web_request.h"

namespace zendra {

Text CatalogueQuery(const Text& path, const Text& body) {
  // The base URL ends in a slash and every path begins with one.
  const Text url = CatalogueBaseUrl().substr(0, CatalogueBaseUrl().size() - 1) + path;
  const Bytes answer = WebRequest(
      url, {.method = 1, .body = body, .cookies = &SiteCookies, .headers = UserAgentLine()});
  return DecodeResponseText(answer);
}

}  // namespace zendra
