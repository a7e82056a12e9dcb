# Install rules, the CMake package for find_package(tevrin), and the .deb and
# .tar.gz packages. The version comes from project() alone.

include(CMakePackageConfigHelpers)

set(TEVRIN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tevrin)

install(TARGETS tevrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/tevrin.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(TARGETS tevrin_core EXPORT tevrinTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/tevrin/scan.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tevrin)
install(EXPORT tevrinTargets NAMESPACE tevrin:: DESTINATION ${TEVRIN_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tevrinConfig.cmake.in
  ${PROJECT_BINARY_DIR}/tevrinConfig.cmake INSTALL_DESTINATION ${TEVRIN_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/tevrinConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/tevrinConfig.cmake ${PROJECT_BINARY_DIR}/tevrinConfigVersion.cmake
  DESTINATION ${TEVRIN_CMAKE_DIR})

set(CPACK_PACKAGE_NAME tevrin)
set(CPACK_PACKAGE_VENDOR "tevrin developers")
set(CPACK_PACKAGE_CONTACT "tevrin developers <tevrin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "finds sound-port and vertical-blank wait patches in SNES ROM images")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
