# Windows 64-bit: tested under wine64.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.toolchain.cmake)
