#pragma once

#include <curl/curl.h>

#include <array>
#include <mutex>

namespace zendra {

// The process-wide libcurl share handle: the connection cache, TLS sessions and DNS
// answers, so that a run of requests to one host reuses one connection although each
// request has its own easy handle.
class CurlShare {
 public:
  // The process's share handle; nullptr when libcurl could not provide one.
  static CURLSH* Process() noexcept;

  ~CurlShare();
  CurlShare(const CurlShare&) = delete;
  CurlShare& operator=(const CurlShare&) = delete;

 private:
  CurlShare() noexcept;
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) noexcept;
  static void Unlock(CURL*, curl_lock_data data, void* self) noexcept;

  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
  CURLSH* share_ = nullptr;
};

// Test-only knob: with sharing off, each request opens and closes its own connection
// and makes a full TLS handshake. On by default.
void SetConnectionSharing(bool enabled) noexcept;
bool ConnectionSharing() noexcept;

}  // namespace zendra
