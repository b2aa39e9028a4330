#pragma once

#include <duktape.h>

#include <csetjmp>
#include <cstddef>

namespace zendra {

// One Duktape heap with a ceiling on the memory it may hold. Every block the engine
// allocates is tracked, so the memory can be given back even when the heap itself
// can no longer be destroyed safely (after a fatal error).
class DuktapeHeap {
 public:
  explicit DuktapeHeap(std::size_t memoryCeiling) noexcept;
  ~DuktapeHeap();
  DuktapeHeap(const DuktapeHeap&) = delete;
  DuktapeHeap& operator=(const DuktapeHeap&) = delete;

  // False when creation failed or a fatal error has ended the heap.
  bool IsAlive() const noexcept { return context_ != nullptr; }

  // Runs `function` as a protected call with an empty argument list, leaving `nrets`
  // values (or the error) on the stack. A fatal error inside ends the heap and reports
  // DUK_EXEC_ERROR instead of taking the process down.
  duk_int_t SafeCall(duk_safe_call_function function, void* udata, duk_idx_t nrets) noexcept;

  // The context, for reading results that SafeCall left on the stack; null when dead.
  duk_context* Context() const noexcept { return context_; }

  std::size_t BytesInUse() const noexcept { return bytesInUse_; }

 private:
  struct Block;

  static void* Allocate(void* udata, duk_size_t size) noexcept;
  static void* Reallocate(void* udata, void* pointer, duk_size_t size) noexcept;
  static void Free(void* udata, void* pointer) noexcept;
  [[noreturn]] static void OnFatal(void* udata, const char* message) noexcept;

  void Link(Block* block) noexcept;
  void Unlink(Block* block) noexcept;
  void ReleaseAllBlocks() noexcept;

  std::size_t memoryCeiling_;
  std::size_t bytesInUse_ = 0;
  Block* blocks_ = nullptr;
  std::jmp_buf* fatalExit_ = nullptr;
  duk_context* context_ = nullptr;
};

}  // namespace zendra
