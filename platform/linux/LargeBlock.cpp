#include "platform/linux/LargeBlock.h"

#include <cstdint>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kLarge = 4 * kHugePage;

size_t Rounded(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

// A mapping of its own, started on a huge page: the kernel's huge pages are only ever aligned.
void* MapAligned(size_t rounded) {
  const size_t asked = rounded + kHugePage;
  void* mapped = ::mmap(nullptr, asked, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (const size_t tail = start + asked - (aligned + rounded); tail > 0)
    ::munmap(reinterpret_cast<void*>(aligned + rounded), tail);
  void* block = reinterpret_cast<void*>(aligned);
  ::madvise(block, rounded, MADV_HUGEPAGE);  // only advice: refused, it changes nothing
  return block;
}

}  // namespace

void* AllocateBlock(size_t bytes) {
  if (bytes < kLarge) return ::operator new(bytes);
  return MapAligned(Rounded(bytes));
}

void FreeBlock(void* block, size_t bytes) {
  if (!block) return;
  if (bytes < kLarge)
    ::operator delete(block);
  else
    ::munmap(block, Rounded(bytes));
}

void* GrowBlock(void* block, size_t bytes, size_t grown) {
  if (!block) return AllocateBlock(grown);
  if (bytes >= kLarge) {
    // The pages move to the larger mapping as they are; nothing is copied. Most growth of a large
    // block stays within its last huge page and costs nothing at all.
    if (Rounded(grown) == Rounded(bytes)) return block;
    void* moved = ::mremap(block, Rounded(bytes), Rounded(grown), MREMAP_MAYMOVE);
    if (moved == MAP_FAILED) throw std::bad_alloc();
    ::madvise(moved, Rounded(grown), MADV_HUGEPAGE);
    return moved;
  }
  void* larger = AllocateBlock(grown);
  std::memcpy(larger, block, bytes);
  FreeBlock(block, bytes);
  return larger;
}
