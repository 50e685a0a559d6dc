# Windows 32-bit: tested under 32-bit Wine in an i386 root (scripts/i386-session).
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.toolchain.cmake)
