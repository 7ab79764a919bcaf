# Installs a build into a fresh prefix and builds the example host against the installed tree,
# once through find_package(zor) and once through pkg-config; both programs must bring the
# installed physics module up.
#   cmake -DBUILD_DIR=<build> -DCONSUMER=<examples/installed_host> -DWORK_DIR=<folder>
#         -DCXX=<compiler> -DPKG_CONFIG=<pkg-config> -DGENERATOR=<generator> -P InstallAndConsume.cmake

function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${what} failed (${result}):\n${output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

function(expect_ready program)
    run("${program}" ${program})
    if(NOT output MATCHES "physicsInitialize from ${prefix}/[^\n]*/zor_physics\\.dll: ready")
        message(FATAL_ERROR "${program} did not bring the installed module up:\n${output}")
    endif()
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
run("cmake --install" ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")

# What a user of the tree needs, wherever it lies in the prefix.
file(GLOB_RECURSE installed RELATIVE "${prefix}" "${prefix}/*")
foreach(piece zor_host zor_physics.dll zor_core.dll zor_project.dll zor_geometry.dll libzor_common.a
        zorConfig.cmake zorConfigVersion.cmake zorTargets.cmake zor.pc
        common/containers/String.h common/application/ApplicationData.h common/framework/IElement.h)
    string(REPLACE "." "\\." pattern "/${piece}$")
    set(found ${installed})
    list(FILTER found INCLUDE REGEX "${pattern}")
    if(NOT found)
        message(FATAL_ERROR "the installed tree has no ${piece}")
    endif()
endforeach()

# The installed host finds its modules beside it.
file(GLOB_RECURSE installedHost "${prefix}/*/zor_host")
run("the installed zor_host" ${installedHost} --log-dir "${WORK_DIR}")
if(NOT output MATCHES "physicsInitialize: the physics module is ready")
    message(FATAL_ERROR "the installed zor_host did not start the module:\n${output}")
endif()

# A CMake project: find_package(zor).
run("configuring the consumer" ${CMAKE_COMMAND} -S "${CONSUMER}" -B "${WORK_DIR}/cmake_consumer"
    -G "${GENERATOR}" -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_PREFIX_PATH=${prefix}")
run("building the consumer" ${CMAKE_COMMAND} --build "${WORK_DIR}/cmake_consumer")
expect_ready("${WORK_DIR}/cmake_consumer/zor_installed_host")

# A plain compiler call with what pkg-config says.
set(ENV{PKG_CONFIG_PATH} "")
file(GLOB_RECURSE pcFile "${prefix}/*/zor.pc")
get_filename_component(pcDir "${pcFile}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} "${pcDir}")
run("pkg-config --cflags --libs zor" ${PKG_CONFIG} --cflags --libs zor)
separate_arguments(flags UNIX_COMMAND "${output}")
run("pkg-config --variable=moduledir zor" ${PKG_CONFIG} --variable=moduledir zor)
string(STRIP "${output}" moduleDir)
run("compiling with pkg-config" ${CXX} -std=c++20 "${CONSUMER}/main.cpp" "-DZOR_MODULE_DIR=\"${moduleDir}/\""
    ${flags} -o "${WORK_DIR}/pkg_config_consumer")
expect_ready("${WORK_DIR}/pkg_config_consumer")

file(REMOVE_RECURSE "${WORK_DIR}")
