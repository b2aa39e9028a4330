#pragma once

#include "platform/window/input_hold.h"

namespace zendra {

// Shows the wait cursor for its lifetime, and keeps the user's input back meanwhile
// (InputHold): what is clicked or typed while it shows is acted on when it goes. Before
// it goes, what a frame-paced repaint left unpainted is painted. Nests: the toolkit keeps
// a stack of override cursors, and each holder removes exactly the one it pushed.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  InputHold hold_;
  bool pushed_ = false;
};

}  // namespace zendra
