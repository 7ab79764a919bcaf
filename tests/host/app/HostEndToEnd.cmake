# Runs zor_host and checks what it prints and what it logs:
#   1. every module beside it: the module starts, the log shows each host module coming up;
#   2. a libraries folder holding the physics module alone: the module refuses, the log says why
#      (with the system's reason: its error code on Windows, the loader's text elsewhere);
#   3. a framework version the module does not accept: refused before any record is adopted;
#   4. log folders that cannot be written: the host names the folder and the reason and stops;
#   5. the version and each command's help, asked for either way, with the options' defaults.
#   cmake -DHOST=<zor_host> -DMODULE=<zor_physics.dll> -DWORK_DIR=<folder> [-DEMULATOR=<a|b|c>]
#         [-DPATH_PREFIX=Z:] -P HostEndToEnd.cmake
# EMULATOR runs Windows programs ('|' between its words); PATH_PREFIX turns a folder of this
# machine into the path the program sees.

string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/ready_logs" "${WORK_DIR}/refused_logs" "${WORK_DIR}/alone")
file(COPY "${MODULE}" DESTINATION "${WORK_DIR}/alone")

include(${CMAKE_CURRENT_LIST_DIR}/HostRun.cmake)

# The one log file of a folder must hold lines "<time> [%6d:%-6d] <rest>\r\n" whose rests,
# joined with "\n", match `expected`.
function(expect_log folder expected)
    file(GLOB logs "${folder}/zor_host*.log")
    list(LENGTH logs count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "expected one log file in ${folder}, found: ${logs}")
    endif()
    # Text reading drops carriage returns, so the line ends are checked on the bytes.
    file(READ "${logs}" bytes HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
    string(REPLACE "0d 0a " "" bytes "${bytes}")
    if(bytes MATCHES "(^| )0a ")
        message(FATAL_ERROR "a line of ${logs} does not end with a carriage return and a line feed")
    endif()
    set(d "[0-9]")
    set(p "[ 0-9]")
    set(head "^${d}${d}${d}${d}-${d}${d}-${d}${d} ${d}${d}:${d}${d}:${d}${d}\\.${d}${d}${d}${d}${d}${d} \\[${p}${p}${p}${p}${p}${d}+:${d}${p}${p}${p}${p}${p}+\\] ")
    file(STRINGS "${logs}" lines)
    set(rests "")
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "${head}")
            message(FATAL_ERROR "not a log line: '${line}'")
        endif()
        string(REGEX REPLACE "${head}" "" rest "${line}")
        string(APPEND rests "${rest}\n")
    endforeach()
    if(NOT rests MATCHES "^${expected}\n$")
        message(FATAL_ERROR "the log of ${folder}:\n${rests}does not match:\n${expected}")
    endif()
endfunction()

# 1. Everything in place.
run_host(0 --log-dir "${PATH_PREFIX}${WORK_DIR}/ready_logs" --log-level INFO)
expect_output("physicsInitialize: the physics module is ready"
    "dependencies: common initialized, core initialized, project initialized, geometry initialized"
    "HitTestAttribute" "RigidBody3DAttribute{double}" "PhysicsEngine3D" "CollisionDetector{float}" "CollisionDetector{double}"
    "Tear-down: 2 callbacks run" "Log file: ${PATH_PREFIX}${WORK_DIR}/ready_logs")
expect_log("${WORK_DIR}/ready_logs" [[
INFO  zor_host main - Loading module:"[^"]*zor_physics\.dll"
INFO  zor_core\.dll coreInitialize - Core module ready
INFO  zor_project\.dll projectInitialize - Project module ready
INFO  zor_geometry\.dll geometryInitialize - Geometry module ready
INFO  zor_host main - physicsInitialize returned true]])

# 2. The physics module without the host modules.
set(alone "${PATH_PREFIX}${WORK_DIR}/alone/")
run_host(1 --libraries-dir "${alone}" --log-dir "${PATH_PREFIX}${WORK_DIR}/refused_logs")
expect_output("physicsInitialize: the physics module refused to start"
    "dependencies: common initialized, core failed, project not initialized, geometry not initialized"
    "Tear-down: 1 callback run")
string(REGEX REPLACE "([][.*+?^$()\\|])" "\\\\\\1" alone "${alone}")
if(EMULATOR)
    set(reason "[1-9][0-9]*")
else()
    set(reason "${alone}zor_core\\.dll: cannot open shared object file: No such file or directory")
endif()
expect_log("${WORK_DIR}/refused_logs" "INFO  zor_host main - Loading module:\"${alone}zor_physics\\.dll\"
WARN  common zor_loadLibrary - Unable to load library:zor_core\\.dll with error:${reason}
WARN  zor_physics\\.dll zor_prepareCoreModule - Unable to load library:\"${alone}zor_core\\.dll\"
WARN  zor_physics\\.dll zor::physicsInitialize - Unable to initialize component module dependency: core
ERROR zor_host main - physicsInitialize returned false")

# 3. A host of framework 1.6: the module holds no record yet, so its refusal goes to the console.
run_host(1 --framework-version 1.6.0 --log-dir "${PATH_PREFIX}${WORK_DIR}/refused_logs")
expect_output("WARN : Application framework version:1.6.0 is incompatible with module framework version:1.5.0. Cannot initialize component module: physics"
    "Tear-down: 0 callbacks run")

# 4. Log folders that cannot be written: missing, and a file where a folder should be.
file(WRITE "${WORK_DIR}/a_file" "")
foreach(folder IN ITEMS missing a_file)
    run_host(4 --log-dir "${PATH_PREFIX}${WORK_DIR}/${folder}")
    string(FIND "${errors}" "zor_host: cannot write the log file in the folder ${PATH_PREFIX}${WORK_DIR}/${folder}" named)
    if(named EQUAL -1 OR NOT errors MATCHES ": (No such file or directory|Not a directory)\r?\n$")
        message(FATAL_ERROR "zor_host did not name the log folder ${folder} and the reason")
    endif()
    if(output MATCHES "Loading")
        message(FATAL_ERROR "zor_host went on with a log folder it cannot write")
    endif()
endforeach()

# 5. Version and help: printed without starting the module.
run_host(0 --version)
expect_output("zor_host 1.5.0 (framework 1.5.0)")
foreach(asked IN ITEMS "help;simulate" "simulate;--help")
    run_host(0 ${asked})
    expect_output("usage: zor_host [options] simulate SCENE [options]" "--record-every N" "(default 0.02)"
        "5  simulate stopped early")
    if(output MATCHES "Loading")
        message(FATAL_ERROR "zor_host ${asked} started the module")
    endif()
endforeach()
run_host(2 help nothing)
# What was typed is quoted escaped: a line break in it does not break the message.
run_host(2 "--bad\noption")
string(FIND "${errors}" "unknown option --bad\\x0Aoption" position)
if(position EQUAL -1)
    message(FATAL_ERROR "the unknown option was not quoted escaped:\n${errors}")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
