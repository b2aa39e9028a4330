#pragma once

#include <functional>

namespace zendra {

// What a program may do around its blocking requests, on the thread that makes them.
struct RequestHooks {
  // Runs while a request waits for its answer, once it has gone out (time the thread
  // would otherwise spend idle), and again when the request has returned.
  std::function<void()> meanwhile;
  // Asked before each request goes out and when it has returned, answered or not (after
  // `meanwhile`). Once it answers true, every later request of the thread fails at once
  // without touching the network: the program is closing.
  std::function<bool()> stop;
};

// Installs the hooks for the calling thread during its lifetime; the stopped state ends
// with it.
class ScopedRequestHooks {
 public:
  explicit ScopedRequestHooks(RequestHooks hooks);
  ~ScopedRequestHooks();
  ScopedRequestHooks(const ScopedRequestHooks&) = delete;
  ScopedRequestHooks& operator=(const ScopedRequestHooks&) = delete;

 private:
  RequestHooks previous_;
  bool previousStopped_;
};

// One request's turn, held by the HTTP component for the length of a send.
class RequestTurn {
 public:
  RequestTurn();
  ~RequestTurn();
  RequestTurn(const RequestTurn&) = delete;
  RequestTurn& operator=(const RequestTurn&) = delete;

  // True when the request must not go out.
  bool Stopped() const noexcept { return stopped_; }

 private:
  bool stopped_;
};

// Called by the HTTP component when a request has gone out and waits for its answer.
void RequestWaiting();

}  // namespace zendra
