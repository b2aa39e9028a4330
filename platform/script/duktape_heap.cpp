#include "platform/script/duktape_heap.h"

#include <cstdlib>

namespace zendra {

// Header in front of every engine block: links for the release after a fatal error and
// the size for the ceiling. Aligned so that the engine's block keeps malloc's alignment.
struct alignas(alignof(std::max_align_t)) DuktapeHeap::Block {
  Block* previous;
  Block* next;
  std::size_t size;
};

DuktapeHeap::DuktapeHeap(std::size_t memoryCeiling) noexcept : memoryCeiling_(memoryCeiling) {
  context_ = duk_create_heap(&DuktapeHeap::Allocate, &DuktapeHeap::Reallocate, &DuktapeHeap::Free,
                             this, &DuktapeHeap::OnFatal);
}

DuktapeHeap::~DuktapeHeap() {
  if (context_) duk_destroy_heap(context_);
  // Normally empty by now; after a fatal error it holds the abandoned heap.
  ReleaseAllBlocks();
}

duk_int_t DuktapeHeap::SafeCall(duk_safe_call_function function, void* udata,
                                duk_idx_t nrets) noexcept {
  if (!context_) return DUK_EXEC_ERROR;
  // Only C frames of the engine and trivially destructible frames of ours lie between
  // here and the fatal handler, so the jump back skips no destructor.
  std::jmp_buf exit;
  if (setjmp(exit) != 0) {
    // The engine's state is undefined now; it must not be touched again, not even to be
    // destroyed. Its memory is ours and goes back at once.
    fatalExit_ = nullptr;
    context_ = nullptr;
    ReleaseAllBlocks();
    return DUK_EXEC_ERROR;
  }
  fatalExit_ = &exit;
  const duk_int_t result = duk_safe_call(context_, function, udata, 0, nrets);
  fatalExit_ = nullptr;
  return result;
}

void* DuktapeHeap::Allocate(void* udata, duk_size_t size) noexcept {
  auto* heap = static_cast<DuktapeHeap*>(udata);
  if (size == 0) return nullptr;
  if (heap->bytesInUse_ > heap->memoryCeiling_ || size > heap->memoryCeiling_ - heap->bytesInUse_)
    return nullptr;
  auto* block = static_cast<Block*>(std::malloc(sizeof(Block) + size));
  if (!block) return nullptr;
  block->size = size;
  heap->Link(block);
  return block + 1;
}

void* DuktapeHeap::Reallocate(void* udata, void* pointer, duk_size_t size) noexcept {
  auto* heap = static_cast<DuktapeHeap*>(udata);
  if (!pointer) return Allocate(udata, size);
  if (size == 0) {
    Free(udata, pointer);
    return nullptr;
  }
  Block* block = static_cast<Block*>(pointer) - 1;
  const std::size_t others = heap->bytesInUse_ - block->size;
  if (size > heap->memoryCeiling_ || others > heap->memoryCeiling_ - size) return nullptr;
  heap->Unlink(block);
  auto* moved = static_cast<Block*>(std::realloc(block, sizeof(Block) + size));
  if (!moved) {
    // realloc left the old block as it was.
    heap->Link(block);
    return nullptr;
  }
  moved->size = size;
  heap->Link(moved);
  return moved + 1;
}

void DuktapeHeap::Free(void* udata, void* pointer) noexcept {
  if (!pointer) return;
  auto* heap = static_cast<DuktapeHeap*>(udata);
  Block* block = static_cast<Block*>(pointer) - 1;
  heap->Unlink(block);
  std::free(block);
}

void DuktapeHeap::OnFatal(void* udata, const char* /*message*/) noexcept {
  auto* heap = static_cast<DuktapeHeap*>(udata);
  if (heap && heap->fatalExit_) std::longjmp(*heap->fatalExit_, 1);
  // Outside SafeCall (creation, destruction) there is no state to return to.
  std::abort();
}

void DuktapeHeap::Link(Block* block) noexcept {
  block->previous = nullptr;
  block->next = blocks_;
  if (blocks_) blocks_->previous = block;
  blocks_ = block;
  bytesInUse_ += block->size;
}

void DuktapeHeap::Unlink(Block* block) noexcept {
  if (block->previous)
    block->previous->next = block->next;
  else
    blocks_ = block->next;
  if (block->next) block->next->previous = block->previous;
  bytesInUse_ -= block->size;
}

void DuktapeHeap::ReleaseAllBlocks() noexcept {
  while (blocks_) {
    Block* block = blocks_;
    blocks_ = block->next;
    std::free(block);
  }
  bytesInUse_ = 0;
}

}  // namespace zendra
