# `cmake --install`: the library, the public header and the command, with a CMake package
# (find_package(korden) gives the target korden::korden) and a pkg-config file (korden.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

target_include_directories(korden INTERFACE $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include>
                                            $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
set_target_properties(korden PROPERTIES VERSION ${PROJECT_VERSION}
                                        SOVERSION ${PROJECT_VERSION_MAJOR})
if(WIN32)
  # The host looks for korden.dll by that name alone.
  set_target_properties(korden PROPERTIES VERSION "" SOVERSION "")
endif()

install(TARGETS korden EXPORT korden-targets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS korden_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/korden/korden.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/korden)

set(KORDEN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/korden)
install(EXPORT korden-targets NAMESPACE korden:: DESTINATION ${KORDEN_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/korden-config.cmake.in
  ${CMAKE_BINARY_DIR}/korden-config.cmake INSTALL_DESTINATION ${KORDEN_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/korden-config-version.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/korden-config.cmake
              ${CMAKE_BINARY_DIR}/korden-config-version.cmake
        DESTINATION ${KORDEN_CMAKE_DIR})

# The prefix is taken relative to the folder of korden.pc, so that `cmake --install --prefix`
# and a moved installation need nothing rewritten.
file(RELATIVE_PATH KORDEN_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/korden.pc.in ${CMAKE_BINARY_DIR}/korden.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/korden.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
