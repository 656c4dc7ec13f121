# Cross build for Windows with the MinGW-w64 compilers of the POSIX thread model (Debian package
# g++-mingw-w64-i686-posix):
#   cmake -S . -B build-windows-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KORDEN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Doubles are computed in SSE2 registers, as in the x64 and Linux builds, not in the 80-bit x87
# stack, so that the x86 DLL prints the same digits. Every processor that runs a current Windows
# has SSE2; MinGW-w64 realigns the stack where SSE code needs it, as x86 callers guarantee only
# 4-byte alignment.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
