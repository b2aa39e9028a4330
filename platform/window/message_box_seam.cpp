#include "platform/window/message_box_seam.h"

#include <utility>

namespace zendra {

MessageBoxInterceptor& CurrentMessageBoxInterceptor() noexcept {
  static MessageBoxInterceptor interceptor;
  return interceptor;
}

ScopedMessageBoxInterceptor::ScopedMessageBoxInterceptor(MessageBoxInterceptor interceptor)
    : previous_(std::exchange(CurrentMessageBoxInterceptor(), std::move(interceptor))) {}

ScopedMessageBoxInterceptor::~ScopedMessageBoxInterceptor() {
  CurrentMessageBoxInterceptor() = std::move(previous_);
}

}  // namespace zendra
