#pragma once

#include <cstddef>

// Memory for large arrays of records. Blocks of several megabytes are aligned for, and offered
// to, the kernel's huge pages where the platform has them: a million-shape drawing then faults in
// a few dozen pages instead of tens of thousands. Either call may be used for any size.
void* AllocateBlock(size_t bytes);
void FreeBlock(void* block, size_t bytes);
