#pragma once

#include <curl/curl.h>

#include <string>

namespace zendra {

// Owns one libcurl header list (curl_slist).
class CurlHeaderList {
 public:
  CurlHeaderList() noexcept = default;
  ~CurlHeaderList() { curl_slist_free_all(list_); }
  CurlHeaderList(const CurlHeaderList&) = delete;
  CurlHeaderList& operator=(const CurlHeaderList&) = delete;

  // False when the line could not be stored; the list stays as it was.
  bool Append(const std::string& line) noexcept {
    curl_slist* grown = curl_slist_append(list_, line.c_str());
    if (!grown) return false;
    list_ = grown;
    return true;
  }
  curl_slist* Get() const noexcept { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

}  // namespace zendra
