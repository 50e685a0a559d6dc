#include "platform/library.h"

#include <windows.h>

namespace qv {

// A bare name gets ".DLL" and is looked for beside the executable first.
HANDLE LoadLanguageLibrary(const std::string& name) {
    return ::LoadLibraryA(name.c_str());
}

void FreeLanguageLibrary(HANDLE library) {
    ::FreeLibrary(static_cast<HMODULE>(library));
}

// LoadStringA itself cuts the text to size - 1 characters of the ANSI code
// page and ends it with a zero.
int LoadLanguageString(HANDLE library, ULONG id, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = '\0';
    return ::LoadStringA(static_cast<HINSTANCE>(library), id, buffer, size);
}

}  // namespace qv
