#include "platform/http/curl_share.h"

#include <atomic>

#include "platform/http/curl_library.h"

namespace zendra {
namespace {
std::atomic<bool> sharingEnabled{true};
}

CurlShare::CurlShare() noexcept {
  if (!EnsureCurlInitialised()) return;
  share_ = curl_share_init();
  if (!share_) return;
  curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlShare::Lock);
  curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlShare::Unlock);
  curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
}

CurlShare::~CurlShare() {
  if (share_) curl_share_cleanup(share_);
}

CURLSH* CurlShare::Process() noexcept {
  static CurlShare share;
  return share.share_;
}

void CurlShare::Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) noexcept {
  auto& mutexes = static_cast<CurlShare*>(self)->mutexes_;
  if (data >= 0 && static_cast<std::size_t>(data) < mutexes.size()) mutexes[data].lock();
}

void CurlShare::Unlock(CURL*, curl_lock_data data, void* self) noexcept {
  auto& mutexes = static_cast<CurlShare*>(self)->mutexes_;
  if (data >= 0 && static_cast<std::size_t>(data) < mutexes.size()) mutexes[data].unlock();
}

void SetConnectionSharing(bool enabled) noexcept { sharingEnabled = enabled; }

bool ConnectionSharing() noexcept { return sharingEnabled; }

}  // namespace zendra
