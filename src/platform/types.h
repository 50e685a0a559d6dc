// Integer and handle types of the system, with the widths the settings file and
// the report rely on. They live in namespace qv so that they never clash with
// the platform's own declarations of the same names.
#pragma once

#include <cstdint>

namespace qv {

using BOOL = std::int32_t;  // 0 or 1
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using USHORT = std::uint16_t;
using BYTE = std::uint8_t;
using HANDLE = void*;
using HWND = void*;
using PSZ = char*;
using UINT = std::uint32_t;
// Message parameters and results are as wide as a pointer, as on the platform.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// <windows.h> defines TRUE and FALSE as macros with these values; in a file
// that includes it first, the macros serve instead.
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif
#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif

}  // namespace qv
