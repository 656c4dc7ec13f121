# The Windows products of a MinGW-w64 cross build (toolchains cmake/mingw-w64-*.cmake).

# The public header declares IKORDEN dllexport for the engine's own code; --kill-at exports it
# undecorated, as the host looks it up (the x86 __stdcall name would be IKORDEN@8). The import
# library is korden.lib beside korden.dll.
target_compile_definitions(korden_core PUBLIC KORDEN_BUILDING)
set_target_properties(korden PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib")
target_link_options(korden PRIVATE -Wl,--kill-at)

# The host folder needs korden.dll alone, the command korden.exe alone: libgcc, libstdc++ and
# winpthread are linked in instead of being loaded from MinGW-w64 run-time DLLs.
target_link_options(korden PRIVATE -static)
target_link_options(korden_cli PRIVATE -static)

# The import library is made from a module-definition file by dlltool rather than taken from the
# linker: with --kill-at the linker's import library would also drop the decoration of the x86
# symbol, yet a host that includes the header and links korden.lib refers to the decorated
# __stdcall name _IKORDEN@8. dlltool's --kill-at keeps that symbol and imports the undecorated
# name IKORDEN from the DLL.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KORDEN_DEF_EXPORT IKORDEN@8)
else()
  set(KORDEN_DEF_EXPORT IKORDEN)
endif()
file(WRITE ${CMAKE_BINARY_DIR}/korden.def "LIBRARY korden.dll\nEXPORTS\n  ${KORDEN_DEF_EXPORT}\n")
add_custom_command(TARGET korden POST_BUILD
  COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${CMAKE_BINARY_DIR}/korden.def
          --dllname korden.dll --output-lib $<TARGET_LINKER_FILE:korden>
  VERBATIM)
