#include "platform/http/curl_transfer.h"

#include <string_view>

#include "platform/http/request_hooks.h"

namespace zendra {
namespace {

std::string_view WithoutLineEnd(std::string_view line) noexcept {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

std::string_view WithoutLeadingBlanks(std::string_view text) noexcept {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

}  // namespace

void CurlTransfer::Attach(CURL* easy) noexcept {
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &CurlTransfer::OnRequestReady);
  curl_easy_setopt(easy, CURLOPT_PREREQDATA, this);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::OnProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  // Refuses an announced oversized body before any of it is read.
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodyBytes));
}

Text CurlTransfer::HeaderBlock() const {
  Text block;
  for (const auto& line : headerLines_) {
    if (!block.empty()) block += "\r\n";
    block += line;
  }
  return block;
}

std::size_t CurlTransfer::OnBody(char* data, std::size_t size, std::size_t count,
                                 void* self) noexcept {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  const std::size_t length = size * count;
  // A chunked answer announces no length: the bound is enforced here as it arrives.
  if (length > kMaxBodyBytes - transfer.body_.size()) return 0;
  try {
    transfer.body_.insert(transfer.body_.end(), data, data + length);
  } catch (...) {
    return 0;
  }
  transfer.lastActivity_ = Clock::now();
  return length;
}

std::size_t CurlTransfer::OnHeader(char* data, std::size_t size, std::size_t count,
                                   void* self) noexcept {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  const std::size_t length = size * count;
  transfer.answerStarted_ = true;
  transfer.headerBytes_ += length;
  if (transfer.headerBytes_ > kMaxHeaderBytes) return 0;
  transfer.lastActivity_ = Clock::now();
  const std::string_view line = WithoutLineEnd(std::string_view(data, length));
  try {
    if (line.starts_with("HTTP/")) {
      // A new response begins (after a redirect, a 100 Continue or a proxy's CONNECT
      // answer): only the last one's headers are reported.
      transfer.headerLines_.clear();
    } else if (line.empty()) {
      // The end of a header block.
    } else if ((line.front() == ' ' || line.front() == '\t') && !transfer.headerLines_.empty()) {
      // An obsolete folded continuation belongs to the line before it.
      transfer.headerLines_.back().append(" ").append(WithoutLeadingBlanks(line));
    } else {
      transfer.headerLines_.emplace_back(line);
    }
  } catch (...) {
    return 0;
  }
  return length;
}

int CurlTransfer::OnRequestReady(void* self, char*, char*, int, int) noexcept {
  // The send and receive phases start once a connection stands; connecting has its own
  // time-out. Called again for each redirect.
  auto& transfer = *static_cast<CurlTransfer*>(self);
  // Called again without an answer in between: libcurl is resending the request on a new
  // connection because a reused one died. The site may have acted on the first copy, so the
  // request fails instead.
  if (transfer.requestSent_ && !transfer.answerStarted_) return CURL_PREREQFUNC_ABORT;
  transfer.requestSent_ = true;
  transfer.answerStarted_ = false;
  transfer.connected_ = true;
  transfer.lastActivity_ = Clock::now();
  transfer.lastDownload_ = 0;
  transfer.lastUpload_ = 0;
  return CURL_PREREQFUNC_OK;
}

int CurlTransfer::OnProgress(void* self, curl_off_t, curl_off_t downloadNow, curl_off_t uploadTotal,
                             curl_off_t uploadNow) noexcept {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  if (!transfer.connected_) return 0;
  if (!transfer.awaited_ && downloadNow == 0 && uploadNow >= uploadTotal) {
    // The request is out; until the answer comes the thread has nothing to do.
    transfer.awaited_ = true;
    RequestWaiting();
  }
  const auto now = Clock::now();
  if (downloadNow != transfer.lastDownload_ || uploadNow != transfer.lastUpload_) {
    transfer.lastDownload_ = downloadNow;
    transfer.lastUpload_ = uploadNow;
    transfer.lastActivity_ = now;
    return 0;
  }
  const bool sending = uploadTotal > 0 && uploadNow < uploadTotal;
  const auto limit = sending ? transfer.sendTimeout_ : transfer.receiveTimeout_;
  // A non-zero answer aborts the transfer, which then counts as failed.
  return now - transfer.lastActivity_ > limit ? 1 : 0;
}

}  // namespace zendra
