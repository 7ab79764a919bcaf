# Runs zor_host's file commands on an example attribute file and checks what they give:
#   1. read prints every object as the module writes it;
#   2. convert to XML and back to JSON gives the same file as converting JSON to JSON, and the
#      XML passes xmllint when XMLLINT is given;
#   3. a file with an unknown enumeration name is refused with one clear log line.
#   cmake -DHOST=<zor_host> -DEXAMPLE=<bodies.json> -DWORK_DIR=<folder> [-DEMULATOR=<a|b|c>]
#         [-DPATH_PREFIX=Z:] [-DXMLLINT=<xmllint>] -P HostCommandsEndToEnd.cmake

string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/logs")
set(work "${PATH_PREFIX}${WORK_DIR}")

include(${CMAKE_CURRENT_LIST_DIR}/HostRun.cmake)

# 1. read
run_host(0 --log-dir "${work}/logs" read "${PATH_PREFIX}${EXAMPLE}")
expect_output(": 4 objects" "\"type\": \"RigidBody3DAttribute{float}\"" "\"restitutionCombine\": \"AVERAGE\""
    "\"restitutionCombine\": \"COMBINE_MIN\"" "\"eventString\": \"button <ok>\"" "\"exclusionGroup\": 3")

# 2. convert, there and back
run_host(0 --log-dir "${work}/logs" convert "${PATH_PREFIX}${EXAMPLE}" "${work}/bodies.xml")
expect_output("Converted 4 objects")
run_host(0 --log-dir "${work}/logs" --quiet convert "${work}/bodies.xml" "${work}/back.json")
if(NOT output STREQUAL "" OR NOT errors STREQUAL "")
    message(FATAL_ERROR "convert --quiet printed: ${output}${errors}")
endif()
run_host(0 --log-dir "${work}/logs" convert "${PATH_PREFIX}${EXAMPLE}" "${work}/direct.json")
file(READ "${WORK_DIR}/back.json" back)
file(READ "${WORK_DIR}/direct.json" direct)
if(NOT back STREQUAL direct)
    message(FATAL_ERROR "JSON through XML differs from JSON:\n${back}\n---\n${direct}")
endif()
file(READ "${WORK_DIR}/bodies.xml" xml)
string(FIND "${xml}" "<linearSpeed x=\"1.5\" y=\"0\" z=\"-2\" />" position)
if(position EQUAL -1)
    message(FATAL_ERROR "the XML holds no vector element with its components as attributes:\n${xml}")
endif()
expect_well_formed_xml("${WORK_DIR}/bodies.xml")

# 3. a refused file
file(WRITE "${WORK_DIR}/bad.json"
    "{\"objects\": [{\"type\": \"RigidBody3DAttribute{float}\", \"variables\": {\"restitutionCombine\": \"MIN\"}}]}")
file(REMOVE_RECURSE "${WORK_DIR}/logs")
file(MAKE_DIRECTORY "${WORK_DIR}/logs")
run_host(1 --log-dir "${work}/logs" read "${work}/bad.json")
file(GLOB logs "${WORK_DIR}/logs/*.log")
file(STRINGS "${logs}" lines REGEX "ERROR")
list(LENGTH lines count)
if(NOT count EQUAL 1 OR NOT lines MATCHES "bad.json: /objects/0/variables/restitutionCombine: expected a name of the enumeration, found \"MIN\"")
    message(FATAL_ERROR "expected one ERROR line naming the place, found: ${lines}")
endif()
