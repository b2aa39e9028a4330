#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/types.h"

namespace zendra {

// What one libcurl transfer collects (the body and the final response's header lines)
// and watches (the send and receive time-outs, measured since the last byte moved).
// Hooked to an easy handle by Attach; it must outlive the transfer.
class CurlTransfer {
 public:
  // Bounds chosen for safety: a bigger answer counts as a failed request.
  static constexpr std::size_t kMaxBodyBytes = std::size_t{64} << 20;
  static constexpr std::size_t kMaxHeaderBytes = std::size_t{1} << 20;

  CurlTransfer(std::chrono::milliseconds sendTimeout,
               std::chrono::milliseconds receiveTimeout) noexcept
      : sendTimeout_(sendTimeout), receiveTimeout_(receiveTimeout) {}
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  void Attach(CURL* easy) noexcept;

  Bytes TakeBody() noexcept { return std::move(body_); }
  // The header lines of the last response, joined by CR LF, without its status line.
  Text HeaderBlock() const;

 private:
  using Clock = std::chrono::steady_clock;

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) noexcept;
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) noexcept;
  static int OnRequestReady(void* self, char*, char*, int, int) noexcept;
  static int OnProgress(void* self, curl_off_t downloadTotal, curl_off_t downloadNow,
                        curl_off_t uploadTotal, curl_off_t uploadNow) noexcept;

  std::chrono::milliseconds sendTimeout_;
  std::chrono::milliseconds receiveTimeout_;
  bool connected_ = false;
  bool requestSent_ = false;    // a request went out on some connection
  bool answerStarted_ = false;  // a byte of the answer to it has come back
  bool awaited_ = false;
  Clock::time_point lastActivity_ = Clock::now();
  curl_off_t lastDownload_ = 0;
  curl_off_t lastUpload_ = 0;

  Bytes body_;
  std::size_t headerBytes_ = 0;
  std::vector<std::string> headerLines_;
};

}  // namespace zendra
