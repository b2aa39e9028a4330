#pragma once

#include <functional>

class QMessageBox;

namespace zendra {

// Lets tests see the message box ShowMessageBox would run, instead of running it.
// The program never installs one.
using MessageBoxInterceptor = std::function<void(QMessageBox&)>;

class ScopedMessageBoxInterceptor {
 public:
  explicit ScopedMessageBoxInterceptor(MessageBoxInterceptor interceptor);
  ~ScopedMessageBoxInterceptor();
  ScopedMessageBoxInterceptor(const ScopedMessageBoxInterceptor&) = delete;
  ScopedMessageBoxInterceptor& operator=(const ScopedMessageBoxInterceptor&) = delete;

 private:
  MessageBoxInterceptor previous_;
};

// The interceptor in force; empty when the box is to be shown.
MessageBoxInterceptor& CurrentMessageBoxInterceptor() noexcept;

}  // namespace zendra
