#include "platform/linux/LargeBlock.h"

#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace {
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kLarge = 4 * kHugePage;
}  // namespace

void* AllocateBlock(size_t bytes) {
  if (bytes < kLarge) return ::operator new(bytes);
  const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (!block) throw std::bad_alloc();
  ::madvise(block, rounded, MADV_HUGEPAGE);  // only advice: refused, it changes nothing
  return block;
}

void FreeBlock(void* block, size_t bytes) {
  if (!block) return;
  if (bytes < kLarge)
    ::operator delete(block);
  else
    std::free(block);
}
