#pragma once

#include <cstddef>

// Memory for large arrays of records. Blocks of several megabytes are aligned for, and offered
// to, the kernel's transparent huge pages: a million-shape drawing then faults in a few dozen
// pages instead of tens of thousands, which is most of what a load of it costs. Either call may be
// used for any size; FreeBlock takes the size the block was allocated with. AllocateBlock throws
// std::bad_alloc when the memory cannot be had.
void* AllocateBlock(size_t bytes);
void FreeBlock(void* block, size_t bytes);
// The block of `bytes` (or none) made a block of `grown` (more) bytes that holds the same first
// bytes, maybe at another address; the old address is then no longer the caller's. A large block
// grows without its bytes being copied. Throws std::bad_alloc, the block left as it was, when the
// memory cannot be had.
void* GrowBlock(void* block, size_t bytes, size_t grown);
