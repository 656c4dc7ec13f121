# Cross build for Windows with the MinGW-w64 compilers of the POSIX thread model (Debian package
# g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows-x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORDEN_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KORDEN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORDEN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KORDEN_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW-w64 sysroot only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${KORDEN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
