#pragma once

#include <cstdint>
#include <optional>

// How many more bytes this process can be given: the kernel's estimate of what can be had without
// swapping (MemAvailable), and less when a limit on the address space (RLIMIT_AS) or on the data
// (RLIMIT_DATA) leaves less beyond what the process holds already. Empty when the kernel tells
// nothing. Linux promises memory it may not have, and kills a process that takes it later rather
// than failing the allocation: whatever can grow with its input asks this first.
std::optional<uint64_t> FreeMemory();
