#include "platform/http/curl_library.h"

#include <curl/curl.h>

namespace zendra {

bool EnsureCurlInitialised() noexcept {
  // A function-local static is initialised exactly once even under concurrent first calls.
  // The library is never cleaned up: connections in the shared cache may outlive main().
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return initialised;
}

}  // namespace zendra
