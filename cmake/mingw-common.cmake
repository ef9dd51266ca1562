# Shared part of the two MinGW-w64 toolchain files; expects NESTORA_MINGW_TRIPLE.
set(CMAKE_C_COMPILER ${NESTORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NESTORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NESTORA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NESTORA_MINGW_TRIPLE})
# Programs (the host tools) come from the host; libraries and headers from the target.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
