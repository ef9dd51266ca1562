# Cross toolchain: 32-bit Windows with MinGW-w64. Built and linked here, never run
# (32-bit programs cannot execute on the build machines).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(NESTORA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
