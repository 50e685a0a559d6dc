// Reading memory that may not be readable, without faulting.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// Copies `size` bytes from `address` into `out`; false, with nothing faulted,
// when any of them cannot be read. Safe to call from a signal handler.
bool ReadMemory(std::uintptr_t address, void* out, std::size_t size);

}  // namespace qv
