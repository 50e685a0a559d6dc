// The language library loader: a library of numbered strings, loaded by name.
// On Windows a resource DLL; on POSIX a string catalogue file.
#pragma once

#include <string>

#include "platform/types.h"

namespace qv {

// Loads the library; null on failure (LastError tells why). A bare name is
// looked for in the platform's search order with its default extension; a name
// with a directory is taken as a path. Loading a loaded library again gives
// another reference to it.
HANDLE LoadLanguageLibrary(const std::string& name);

// Drops one reference; the library goes away with its last one.
void FreeLanguageLibrary(HANDLE library);

// Copies string Id into Buffer, cut to Size - 1 bytes at a character boundary
// and zero-terminated. Returns the bytes copied; 0 when there is no such string.
int LoadLanguageString(HANDLE library, ULONG id, char* buffer, int size);

// The language library the program loaded, set once by the entry point: the
// library functions that take no handle (the date formatter, the sounds)
// read their texts and sounds from it. Null until then.
extern HANDLE LibraryHandle;

}  // namespace qv
