# Runs zor_host three times and checks what it prints and what it logs:
#   1. every module beside it: the module starts, the log shows each host module coming up;
#   2. a libraries folder holding the physics module alone: the module refuses, the log says why;
#   3. a framework version the module does not accept: refused before any record is adopted.
#   cmake -DHOST=<zor_host> -DMODULE=<zor_physics.dll> -DWORK_DIR=<folder> [-DEMULATOR=<a|b|c>]
#         [-DPATH_PREFIX=Z:] -P HostEndToEnd.cmake
# EMULATOR runs Windows programs ('|' between its words); PATH_PREFIX turns a folder of this
# machine into the path the program sees.

foreach(variable HOST MODULE WORK_DIR)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "HostEndToEnd: ${variable} is not set")
    endif()
endforeach()
string(REPLACE "|" ";" emulator "${EMULATOR}")

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/ready_logs" "${WORK_DIR}/refused_logs" "${WORK_DIR}/alone")
file(COPY "${MODULE}" DESTINATION "${WORK_DIR}/alone")

# The log line without its time: "[%6d:%-6d] LEVEL module function - message".
set(digit "[0-9]")
set(padded "[ 0-9]")
set(time "${digit}${digit}${digit}${digit}-${digit}${digit}-${digit}${digit} ${digit}${digit}:${digit}${digit}:${digit}${digit}\\.${digit}${digit}${digit}${digit}${digit}${digit}")
set(ids "\\[${padded}${padded}${padded}${padded}${padded}${digit}+:${digit}${padded}${padded}${padded}${padded}${padded}+\\]")
set(linePattern "^${time} ${ids} (ERROR|WARN |INFO |DEBUG|TRACE|NONE) [^ ]+ [^ ]+ - ")

function(run_host outputVariable resultVariable)
    execute_process(COMMAND ${emulator} "${HOST}" ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE errors
        RESULT_VARIABLE result)
    message(STATUS "zor_host ${ARGN}\n${output}")
    set(${outputVariable} "${output}" PARENT_SCOPE)
    set(${resultVariable} "${result}" PARENT_SCOPE)
endfunction()

function(expect_contains text expected)
    string(FIND "${text}" "${expected}" position)
    if(position EQUAL -1)
        message(FATAL_ERROR "expected to find:\n  ${expected}\nin:\n${text}")
    endif()
endfunction()

# The one log file of a folder, as a list of lines without their line end; every line must have
# the log format and end in "\r\n".
function(read_log folder linesVariable)
    file(GLOB logs "${folder}/zor_host*.log")
    list(LENGTH logs count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "expected one log file in ${folder}, found: ${logs}")
    endif()
    # Text reading drops carriage returns, so the line ends are checked on the bytes.
    file(READ "${logs}" bytes HEX)
    string(REGEX MATCHALL ".." bytes "${bytes}")
    set(previous "")
    foreach(byte IN LISTS bytes)
        if(byte STREQUAL "0a" AND NOT previous STREQUAL "0d")
            message(FATAL_ERROR "a line of ${logs} does not end with \\r\\n")
        endif()
        set(previous "${byte}")
    endforeach()
    if(NOT previous STREQUAL "0a")
        message(FATAL_ERROR "${logs} does not end with a line end")
    endif()
    file(STRINGS "${logs}" lines)
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "${linePattern}")
            message(FATAL_ERROR "not a log line: '${line}'")
        endif()
    endforeach()
    set(${linesVariable} "${lines}" PARENT_SCOPE)
endfunction()

# The messages of the log lines (from the level on), in order, must include `expected` in order.
function(expect_log_sequence lines)
    set(remaining ${lines})
    foreach(expected IN LISTS ARGN)
        set(found FALSE)
        while(remaining)
            list(POP_FRONT remaining line)
            string(REGEX REPLACE "^${time} ${ids} " "" line "${line}")
            if(line MATCHES "^${expected}$")
                set(found TRUE)
                break()
            endif()
        endwhile()
        if(NOT found)
            string(REPLACE ";" "\n" text "${lines}")
            message(FATAL_ERROR "the log lacks (in this order) a line matching:\n  ${expected}\nlog:\n${text}")
        endif()
    endforeach()
endfunction()

# 1. Everything in place.
run_host(output result --log-dir "${PATH_PREFIX}${WORK_DIR}/ready_logs" --log-level INFO)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "zor_host exited with ${result}")
endif()
expect_contains("${output}" "physicsInitialize: the physics module is ready")
expect_contains("${output}" "dependencies: common initialized, core initialized, project initialized, geometry initialized")
expect_contains("${output}" "Tear-down: 2 callbacks run")
expect_contains("${output}" "Log file: ${PATH_PREFIX}${WORK_DIR}/ready_logs")
read_log("${WORK_DIR}/ready_logs" lines)
expect_log_sequence("${lines}"
    "INFO  zor_host main - Loading module:\".*zor_physics\\.dll\""
    "INFO  zor_core\\.dll coreInitialize - Core module ready"
    "INFO  zor_project\\.dll projectInitialize - Project module ready"
    "INFO  zor_geometry\\.dll geometryInitialize - Geometry module ready"
    "INFO  zor_host main - physicsInitialize returned true")

# 2. The physics module without the host modules.
set(alone "${PATH_PREFIX}${WORK_DIR}/alone/")
run_host(output result --libraries-dir "${alone}" --log-dir "${PATH_PREFIX}${WORK_DIR}/refused_logs")
if(NOT result EQUAL 1)
    message(FATAL_ERROR "zor_host exited with ${result}, expected 1")
endif()
expect_contains("${output}" "physicsInitialize: the physics module refused to start")
expect_contains("${output}" "dependencies: common initialized, core failed, project not initialized, geometry not initialized")
expect_contains("${output}" "Tear-down: 1 callback run")
read_log("${WORK_DIR}/refused_logs" lines)
string(REGEX REPLACE "([][.*+?^$()\\|])" "\\\\\\1" alonePattern "${alone}")
expect_log_sequence("${lines}"
    "WARN  common zor_loadLibrary - Unable to load library:zor_core\\.dll with error:[0-9]+"
    "WARN  zor_physics\\.dll zor_prepareCoreModule - Unable to load library:\"${alonePattern}zor_core\\.dll\""
    "WARN  zor_physics\\.dll zor::physicsInitialize - Unable to initialize component module dependency: core"
    "ERROR zor_host main - physicsInitialize returned false")

# 3. A host of framework 1.6: the module holds no record yet, so its refusal goes to the console.
run_host(output result --framework-version 1.6.0 --log-dir "${PATH_PREFIX}${WORK_DIR}/refused_logs")
if(NOT result EQUAL 1)
    message(FATAL_ERROR "zor_host exited with ${result}, expected 1")
endif()
expect_contains("${output}" "WARN : Application framework version:1.6.0 is incompatible with module framework version:1.5.0. Cannot initialize component module: physics")
expect_contains("${output}" "Tear-down: 0 callbacks run")

file(REMOVE_RECURSE "${WORK_DIR}")
