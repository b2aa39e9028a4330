#include "platform/http/curl_http_request.h"

namespace zendra {

// Placeholder until the component lands: creation fails.
ObjectRef<HttpRequest> MakeCurlHttpRequest() noexcept { return ObjectRef<HttpRequest>(); }

}  // namespace zendra
