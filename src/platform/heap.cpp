#include "platform/heap.h"

#include <cstdlib>

namespace qv {

void* AllocateMemory(std::size_t ByteCount) {
    return std::malloc(ByteCount);
}

void FreeMemory(void* Memory) {
    std::free(Memory);
}

}  // namespace qv
