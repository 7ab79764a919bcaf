# Shared compile settings and the helpers that declare the project's targets.

include(GNUInstallDirs)
set(ZOR_TESTS_SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests)

add_library(zor_build_settings INTERFACE)
target_compile_options(zor_build_settings INTERFACE
    -Wall -Wextra
    # Results must not depend on whether the compiler fuses multiply and add.
    -ffp-contract=off
    $<$<BOOL:${ZOR_WARNINGS_AS_ERRORS}>:-Werror>)
target_include_directories(zor_build_settings INTERFACE ${CMAKE_SOURCE_DIR})
if(ZOR_SANITIZE)
    target_compile_options(zor_build_settings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(zor_build_settings INTERFACE -fsanitize=address,undefined)
endif()
if(ZOR_SANITIZE_THREAD)
    target_compile_options(zor_build_settings INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(zor_build_settings INTERFACE -fsanitize=thread)
endif()
if(WIN32)
    # One self-contained PE file per binary: no MinGW runtime DLLs to ship beside it.
    target_link_options(zor_build_settings INTERFACE -static -static-libgcc -static-libstdc++)
    target_compile_definitions(zor_build_settings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
if(WIN32 AND CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    # Test programs run under Wine, in a prefix of this build folder made on first use.
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix=${CMAKE_BINARY_DIR}/wine-prefix)
endif()

# zor_add_library(<name> STATIC|SHARED [OUTPUT_NAME <file>] SOURCES ... [LINK ...])
# SHARED libraries are the framework's modules: their files keep the framework's names
# ("zor_physics.dll") on every platform, and they are installed beside the host that loads them.
function(zor_add_library name)
    cmake_parse_arguments(ARG "STATIC;SHARED" "OUTPUT_NAME" "SOURCES;LINK;PUBLIC_LINK" ${ARGN})
    if(ARG_SHARED)
        add_library(${name} SHARED ${ARG_SOURCES})
        set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
        if(ARG_OUTPUT_NAME)
            set_target_properties(${name} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
        endif()
        # Modules of the test suite (stand-ins under tests/) are not part of an installed tree.
        cmake_path(IS_PREFIX ZOR_TESTS_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE testModule)
        if(NOT testModule)
            install(TARGETS ${name} LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        endif()
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
    endif()
    # The build settings belong to this tree: an installed library does not pass them on.
    target_link_libraries(${name} PRIVATE $<BUILD_INTERFACE:zor_build_settings> ${ARG_LINK} PUBLIC ${ARG_PUBLIC_LINK})
endfunction()

# zor_add_test(<name> [LINK ...]): a GoogleTest executable; sources are added by the
# test folders with target_sources, and zor_register_tests(<name>) hands it to CTest, its tests
# labelled with the executable's name.
function(zor_add_test name)
    cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
    add_executable(${name})
    target_link_libraries(${name} PRIVATE zor_build_settings zor_test_support ${ARG_LINK})
endfunction()

function(zor_register_tests name)
    if(CMAKE_CROSSCOMPILING)
        # Under an emulator every process start is expensive: one CTest entry per executable.
        add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
        # Wine maps the Linux file system to drive Z:, so the programs see a Windows path.
        set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
            ENVIRONMENT "ZOR_TEST_BIN_DIR=Z:${CMAKE_BINARY_DIR}/bin")
    else()
        include(GoogleTest)
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
            WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
            PROPERTIES ENVIRONMENT "ZOR_TEST_BIN_DIR=${CMAKE_BINARY_DIR}/bin" LABELS ${name})
    endif()
endfunction()
