#pragma once

#include <curl/curl.h>

#include <memory>

#include "platform/types.h"

namespace zendra {

// Opens the TCP connection to a site in the background while the program builds its
// window, so that the first request to that address finds it standing instead of paying
// the connect's round trip. Nothing is sent on it before that request takes it; a request
// that comes while the connect is still under way waits for it rather than connecting
// twice. A connection that has gone stale or was never taken is simply closed.
// One at a time per process; the window's thread owns it.
class Preconnect {
 public:
  // Starts connecting to the URL's host and port (http and https only).
  explicit Preconnect(const Text& url);
  // Returns at once, even while the site does not answer.
  ~Preconnect();
  Preconnect(const Preconnect&) = delete;
  Preconnect& operator=(const Preconnect&) = delete;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// Lets a transfer take the waiting connection when it connects to the same address.
// Called by the HTTP component for each transfer; does nothing when none waits.
void OfferPreconnected(CURL* easy) noexcept;

}  // namespace zendra
