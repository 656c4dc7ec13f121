# What both MinGW-w64 toolchain files share; they set KORDEN_MINGW_TRIPLE and the processor first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KORDEN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORDEN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KORDEN_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW-w64 sysroot only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${KORDEN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
