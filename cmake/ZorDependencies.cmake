# Third-party libraries, all from Debian packages. For the Windows target zlib comes from the
# MinGW sysroot, GoogleTest is built from Debian's sources, and LZ4 from the source package that
# scripts/setup-windows-deps unpacks under ZOR_DEPS_DIR.

set(ZOR_DEPS_DIR ${CMAKE_SOURCE_DIR}/.deps CACHE PATH "Third-party sources prepared by scripts/setup-windows-deps")

if(WIN32)
    # Linked into each binary, so no zlib1.dll has to travel beside it.
    set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

if(WIN32 AND NOT TARGET lz4::lz4)
    # Only the block format is used, and lz4.c alone implements it.
    file(GLOB ZOR_LZ4_SOURCES ${ZOR_DEPS_DIR}/lz4-*/lib/lz4.c)
    if(NOT ZOR_LZ4_SOURCES)
        message(FATAL_ERROR "LZ4 sources not found under ${ZOR_DEPS_DIR}: run scripts/setup --windows")
    endif()
    list(SORT ZOR_LZ4_SOURCES COMPARE NATURAL ORDER DESCENDING)
    list(GET ZOR_LZ4_SOURCES 0 ZOR_LZ4_SOURCE)
    get_filename_component(ZOR_LZ4_SOURCE_DIR ${ZOR_LZ4_SOURCE} DIRECTORY)
    add_library(zor_lz4 STATIC ${ZOR_LZ4_SOURCE})
    target_include_directories(zor_lz4 SYSTEM INTERFACE $<BUILD_INTERFACE:${ZOR_LZ4_SOURCE_DIR}>)
    add_library(lz4::lz4 ALIAS zor_lz4)
else()
    include(ZorFindLz4)
    if(NOT TARGET lz4::lz4)
        message(FATAL_ERROR "LZ4 not found: run scripts/setup (it installs liblz4-dev)")
    endif()
endif()

if(ZOR_BUILD_TESTS)
    if(CMAKE_CROSSCOMPILING)
        # Debian ships GoogleTest as sources: build them for the target, under the same names
        # that find_package(GTest) gives, so the test folders need not know.
        set(ZOR_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
        if(NOT EXISTS ${ZOR_GTEST_SOURCE_DIR}/CMakeLists.txt)
            message(FATAL_ERROR "GoogleTest sources not found in ${ZOR_GTEST_SOURCE_DIR}: run scripts/setup --windows")
        endif()
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(${ZOR_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
        foreach(gtestTarget gtest gtest_main gmock gmock_main)
            if(TARGET ${gtestTarget} AND NOT TARGET GTest::${gtestTarget})
                add_library(GTest::${gtestTarget} ALIAS ${gtestTarget})
            endif()
        endforeach()
    else()
        find_package(GTest REQUIRED)
    endif()
endif()

if(ZOR_BUILD_BENCHMARKS AND NOT CMAKE_CROSSCOMPILING)
    find_package(benchmark QUIET)
endif()

if(CMAKE_CROSSCOMPILING AND EXISTS /usr/include/nlohmann/json.hpp)
    # The header-only package lives outside the target's sysroot; /usr/include itself must not
    # reach a cross compiler, so only the nlohmann folder is offered.
    set(ZOR_JSON_INCLUDE_DIR ${CMAKE_BINARY_DIR}/_deps/nlohmann_json/include)
    file(MAKE_DIRECTORY ${ZOR_JSON_INCLUDE_DIR})
    file(CREATE_LINK /usr/include/nlohmann ${ZOR_JSON_INCLUDE_DIR}/nlohmann SYMBOLIC)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
        INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${ZOR_JSON_INCLUDE_DIR}
        INTERFACE_INCLUDE_DIRECTORIES ${ZOR_JSON_INCLUDE_DIR})
    set(nlohmann_json_FOUND TRUE)
else()
    find_package(nlohmann_json 3 QUIET)
endif()

# pugixml: Debian's package on Linux; for Windows, which has no MinGW package, its one source
# file from the source package that scripts/setup-windows-deps unpacks.
if(WIN32 AND NOT TARGET pugixml::pugixml)
    file(GLOB ZOR_PUGIXML_SOURCES ${ZOR_DEPS_DIR}/pugixml-*/src/pugixml.cpp)
    if(NOT ZOR_PUGIXML_SOURCES)
        message(FATAL_ERROR "pugixml sources not found under ${ZOR_DEPS_DIR}: run scripts/setup --windows")
    endif()
    list(SORT ZOR_PUGIXML_SOURCES COMPARE NATURAL ORDER DESCENDING)
    list(GET ZOR_PUGIXML_SOURCES 0 ZOR_PUGIXML_SOURCE)
    get_filename_component(ZOR_PUGIXML_SOURCE_DIR ${ZOR_PUGIXML_SOURCE} DIRECTORY)
    add_library(zor_pugixml STATIC ${ZOR_PUGIXML_SOURCE})
    target_include_directories(zor_pugixml SYSTEM INTERFACE ${ZOR_PUGIXML_SOURCE_DIR})
    add_library(pugixml::pugixml ALIAS zor_pugixml)
elseif(NOT TARGET pugixml::pugixml)
    find_package(pugixml REQUIRED)
endif()

# RapidJSON (header-only) is the tests' second, independent JSON parser.
if(ZOR_BUILD_TESTS AND EXISTS /usr/include/rapidjson/document.h)
    set(ZOR_RAPIDJSON_INCLUDE_DIR ${CMAKE_BINARY_DIR}/_deps/rapidjson/include)
    file(MAKE_DIRECTORY ${ZOR_RAPIDJSON_INCLUDE_DIR})
    file(CREATE_LINK /usr/include/rapidjson ${ZOR_RAPIDJSON_INCLUDE_DIR}/rapidjson SYMBOLIC)
    add_library(zor_rapidjson INTERFACE)
    target_include_directories(zor_rapidjson SYSTEM INTERFACE ${ZOR_RAPIDJSON_INCLUDE_DIR})
endif()
