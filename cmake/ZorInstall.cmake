# cmake --install: zor_host with the modules beside it (each module installs itself, see
# zor_add_library), the foundation library with every public header under include/zor, and a
# CMake package (find_package(zor)) and a pkg-config file (zor.pc) for programs built against it.
# Whole header folders are installed, so headers added later need no rule of their own.

include(CMakePackageConfigHelpers)

install(TARGETS zor_host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set_target_properties(zor_common PROPERTIES EXPORT_NAME common)
set(zorExported zor_common)
if(TARGET zor_lz4)
    # Built from its sources for Windows, so it travels with the foundation.
    list(APPEND zorExported zor_lz4)
endif()
install(TARGETS ${zorExported} EXPORT zorTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zor)
install(DIRECTORY common DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zor FILES_MATCHING PATTERN "*.h")

set(zorPackageDir ${CMAKE_INSTALL_LIBDIR}/cmake/zor)
install(EXPORT zorTargets NAMESPACE zor:: DESTINATION ${zorPackageDir})
configure_package_config_file(cmake/zorConfig.cmake.in ${CMAKE_BINARY_DIR}/zorConfig.cmake
    INSTALL_DESTINATION ${zorPackageDir} PATH_VARS CMAKE_INSTALL_BINDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zorConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zorConfig.cmake ${CMAKE_BINARY_DIR}/zorConfigVersion.cmake
    cmake/ZorFindLz4.cmake DESTINATION ${zorPackageDir})

# The .pc file finds its prefix from where it lies, so the tree can be installed anywhere.
file(RELATIVE_PATH zorPcToPrefix /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
if(WIN32)
    set(zorPcSystemLibs -lws2_32)
else()
    set(zorPcSystemLibs "-pthread -l${CMAKE_DL_LIBS}")
endif()
configure_file(cmake/zor.pc.in ${CMAKE_BINARY_DIR}/zor.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zor.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
