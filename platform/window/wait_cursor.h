#pragma once

namespace zendra {

// Shows the wait cursor for its lifetime. Nests: the toolkit keeps a stack of override
// cursors, and each holder removes exactly the one it pushed.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool pushed_ = false;
};

}  // namespace zendra
