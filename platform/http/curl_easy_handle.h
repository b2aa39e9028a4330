#pragma once

#include <curl/curl.h>

namespace zendra {

// Owns one libcurl easy handle.
class CurlEasyHandle {
 public:
  CurlEasyHandle() noexcept : handle_(curl_easy_init()) {}
  ~CurlEasyHandle() {
    if (handle_) curl_easy_cleanup(handle_);
  }
  CurlEasyHandle(const CurlEasyHandle&) = delete;
  CurlEasyHandle& operator=(const CurlEasyHandle&) = delete;

  explicit operator bool() const noexcept { return handle_ != nullptr; }
  CURL* Get() const noexcept { return handle_; }

 private:
  CURL* handle_;
};

}  // namespace zendra
