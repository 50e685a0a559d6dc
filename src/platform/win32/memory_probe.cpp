#include "platform/memory_probe.h"

#include <windows.h>

namespace qv {

// ReadProcessMemory on the own process fails, instead of faulting, when a page
// of the range is not readable.
bool ReadMemory(std::uintptr_t address, void* out, std::size_t size) {
    SIZE_T copied = 0;
    return ::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<LPCVOID>(address), out, size,
                               &copied) &&
           copied == size;
}

}  // namespace qv
