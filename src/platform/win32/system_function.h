// Functions that older Windows versions lack, looked up by name at run time.
#pragma once

#include <windows.h>

namespace qv {

// The function `name` of the loaded system library `library`, as a pointer of
// type Function; null when the library or the function is missing.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
    const HMODULE module = ::GetModuleHandleA(library);
    if (!module) return nullptr;
    // FARPROC stands for any function type; the detour through a pointer to a
    // function without parameters tells the compiler the cast is intended.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace qv
