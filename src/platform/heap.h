// The heap of the support library's callers.
#pragma once

#include <cstddef>

namespace qv {

// A block of ByteCount bytes; null when the heap is exhausted.
void* AllocateMemory(std::size_t ByteCount);
// Gives back a block of AllocateMemory; null is ignored.
void FreeMemory(void* Memory);

}  // namespace qv
