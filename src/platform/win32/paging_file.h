// The first paging file as the two Windows families keep it: in the system
// profile on Windows 95/98/ME, in the registry on every other platform.
#pragma once

#include <windows.h>

#include <string>

#include "platform/swap.h"

namespace qv {

// Platform identifiers are Windows' ::DWORD, not the system's DWORD of
// platform/types.h, whatever a file included before this one.
// The platform identifier that GetVersionExA reports for Windows 95/98/ME.
constexpr ::DWORD kWindows9xPlatform = VER_PLATFORM_WIN32_WINDOWS;

// The swap file for the given platform identifier.
SwapFile SwapFileOfPlatform(::DWORD platformId);

// The path of the first paging file in a PagingFiles value: its first entry
// (up to the first zero byte or the end) cut at its first space.
std::string FirstPagingFilePath(const std::string& value);

}  // namespace qv
