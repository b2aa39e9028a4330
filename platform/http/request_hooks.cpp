#include "platform/http/request_hooks.h"

#include <utility>

namespace zendra {
namespace {

thread_local RequestHooks hooks;
thread_local bool stopped = false;
thread_local bool inHook = false;

bool AskStop() {
  if (!stopped && hooks.stop) stopped = hooks.stop();
  return stopped;
}

void Meanwhile() {
  // Whatever the hook does cannot start another round of it inside this one.
  if (inHook || !hooks.meanwhile) return;
  inHook = true;
  hooks.meanwhile();
  inHook = false;
}

}  // namespace

ScopedRequestHooks::ScopedRequestHooks(RequestHooks installed)
    : previous_(std::exchange(hooks, std::move(installed))),
      previousStopped_(std::exchange(stopped, false)) {}

ScopedRequestHooks::~ScopedRequestHooks() {
  hooks = std::move(previous_);
  stopped = previousStopped_;
}

RequestTurn::RequestTurn() : stopped_(AskStop()) {}

RequestTurn::~RequestTurn() {
  if (stopped_) return;
  Meanwhile();
  AskStop();
}

void RequestWaiting() { Meanwhile(); }

}  // namespace zendra
