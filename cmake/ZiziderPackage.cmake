# The library as a package a terminal depends on: exported symbols, the
# shared-object version, installation (libraries, header, CLI, pkg-config
# file, CMake package, man page) and the Debian package made by CPack.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Exports: our code is hidden unless zizider.h marks it KXREG_API; the
# version script keeps the platform's Win32 names and everything the
# compiler emits by itself out of the dynamic symbol table.
set_target_properties(zizider_objects zizider_platform PROPERTIES
  C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
set_target_properties(zizider PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} EXPORT_NAME zizider)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  target_link_options(zizider PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/zizider.map
    -Wl,--exclude-libs,ALL)
  set_property(TARGET zizider APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/zizider.map)
endif()

# The installed static library holds the platform too, so that it links on
# its own (pkg-config --static adds FreeType and fontconfig). The build's
# zizider_static stays as it is for the tests.
add_library(zizider_archive STATIC $<TARGET_OBJECTS:zizider_objects> $<TARGET_OBJECTS:zizider_platform>)
set_target_properties(zizider_archive PROPERTIES OUTPUT_NAME zizider)
if(ZIZIDER_LTO)
  add_custom_command(TARGET zizider_archive POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} -R ".gnu.lto_*" -R ".gnu.debuglto_*" $<TARGET_FILE:zizider_archive>
    COMMAND ${CMAKE_RANLIB} $<TARGET_FILE:zizider_archive>
    COMMENT "Keeping only machine code in the archive")
endif()

install(TARGETS zizider EXPORT ziziderTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
target_include_directories(zizider PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
install(TARGETS zizider_archive ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/zizider/zizider.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zizider)
install(TARGETS zizider_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/zizider.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# pkg-config: the prefix is found from the .pc file's own place.
file(RELATIVE_PATH ZIZIDER_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ZIZIDER_PC_TO_PREFIX "${ZIZIDER_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/zizider.pc.in ${PROJECT_BINARY_DIR}/zizider.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zizider.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# CMake package: find_package(zizider) gives zizider::zizider.
set(ZIZIDER_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zizider)
install(EXPORT ziziderTargets NAMESPACE zizider:: DESTINATION ${ZIZIDER_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ziziderConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ziziderConfig.cmake INSTALL_DESTINATION ${ZIZIDER_CMAKE_DIR})
# Before 1.0 a minor version may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ziziderConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ziziderConfig.cmake ${PROJECT_BINARY_DIR}/ziziderConfigVersion.cmake
  DESTINATION ${ZIZIDER_CMAKE_DIR})

# The Debian package: library, header, CLI and man page under /usr.
set(CPACK_PACKAGE_NAME zizider)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ReGIS graphics for terminal emulators, and the zizider renderer")
set(CPACK_PACKAGE_CONTACT "zizider developers <zizider@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
include(CPack)
