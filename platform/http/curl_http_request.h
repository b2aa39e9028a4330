#pragma once

#include "platform/http/http_request.h"

namespace zendra {

ObjectRef<HttpRequest> MakeCurlHttpRequest() noexcept;

}  // namespace zendra
