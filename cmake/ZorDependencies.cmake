# Third-party libraries, all from Debian packages. For the Windows target the setup script
# prepares MinGW builds of them under ZOR_DEPS_DIR (see scripts/setup-windows-deps).

find_package(ZLIB REQUIRED)

if(NOT TARGET lz4::lz4)
    find_path(LZ4_INCLUDE_DIR lz4.h HINTS ${ZOR_DEPS_DIR}/include)
    find_library(LZ4_LIBRARY NAMES lz4 liblz4 HINTS ${ZOR_DEPS_DIR}/lib)
    if(NOT LZ4_INCLUDE_DIR OR NOT LZ4_LIBRARY)
        message(FATAL_ERROR "LZ4 not found: run scripts/setup (it installs liblz4-dev)")
    endif()
    add_library(lz4::lz4 UNKNOWN IMPORTED)
    set_target_properties(lz4::lz4 PROPERTIES IMPORTED_LOCATION ${LZ4_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${LZ4_INCLUDE_DIR})
endif()

if(ZOR_BUILD_TESTS)
    find_package(GTest REQUIRED)
endif()

if(ZOR_BUILD_BENCHMARKS AND NOT CMAKE_CROSSCOMPILING)
    find_package(benchmark QUIET)
endif()

find_package(nlohmann_json 3 QUIET)
