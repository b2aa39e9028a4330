#pragma once

namespace zendra {

// While a query blocks the window's thread, the user's clicks, keys and wheel turns and
// the window manager's close requests are kept back, in the order they came, instead of
// being acted on in the middle of the query; when the outermost hold ends they are handed
// on, still in order. Holds nest; only the window's thread may make them.
class InputHold {
 public:
  InputHold();
  ~InputHold();
  InputHold(const InputHold&) = delete;
  InputHold& operator=(const InputHold&) = delete;

  static bool Active() noexcept;
  // Delivers a close request kept back by the running hold at once, dropping the input
  // kept back with it (it was meant for a window that is going away). True when a close
  // request was delivered.
  static bool HonourCloseRequest();

  // Marks the thread taking in the platform's events. Only a close request that comes in
  // then is the window manager's; the program's own close() acts at once.
  class Intake {
   public:
    Intake() noexcept;
    ~Intake();
    Intake(const Intake&) = delete;
    Intake& operator=(const Intake&) = delete;
  };
};

}  // namespace zendra
