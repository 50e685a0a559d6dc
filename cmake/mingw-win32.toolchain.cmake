# Windows 32-bit: built and linked only.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.toolchain.cmake)
