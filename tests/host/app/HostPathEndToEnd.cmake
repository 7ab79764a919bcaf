# Runs zor_host path on an SVG picture and checks the conversions:
#   1. the picture's path data becomes a path file (JSON), and that file becomes a picture and
#      prints its path data in absolute commands;
#   2. the same through XML, and from the printed path data alone, gives the same path data;
#   3. malformed path data is refused with the column and what was expected.
#   cmake -DHOST=<zor_host> -DEXAMPLE=<icons.svg> -DWORK_DIR=<folder> [-DXMLLINT=<xmllint>] [-DEMULATOR=<a|b|c>]
#         [-DPATH_PREFIX=Z:] -P HostPathEndToEnd.cmake

string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/logs")
set(work "${PATH_PREFIX}${WORK_DIR}")

include(${CMAKE_CURRENT_LIST_DIR}/HostRun.cmake)

function(run_host expectedResult)
    execute_process(COMMAND ${emulator} "${HOST}" --log-dir "${work}/logs" path ${ARGN}
        OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE result)
    message(STATUS "zor_host path ${ARGN}\n${output}${errors}")
    if(NOT result EQUAL expectedResult)
        message(FATAL_ERROR "zor_host exited with ${result}, expected ${expectedResult}")
    endif()
    set(output "${output}" PARENT_SCOPE)
    set(errors "${errors}" PARENT_SCOPE)
endfunction()

# The line of path data that a conversion to a picture prints.
function(printed_path_data variable)
    string(REGEX MATCH "(^|\n)(M[^\n]*)" line "${output}")
    if(NOT CMAKE_MATCH_2)
        message(FATAL_ERROR "zor_host printed no path data:\n${output}")
    endif()
    set(${variable} "${CMAKE_MATCH_2}" PARENT_SCOPE)
endfunction()

# 1. picture -> JSON -> picture
run_host(0 "${PATH_PREFIX}${EXAMPLE}" "${work}/icons.json")
if(NOT output MATCHES "Converted 14 commands")
    message(FATAL_ERROR "expected 14 commands from the two paths")
endif()
file(READ "${WORK_DIR}/icons.json" json)
foreach(expected "\"type\": \"CurveToPath2DCommand{double}\"" "\"type\": \"ArcPath2DCommand{double}\""
        "\"largeArc\": true" "\"xAnchor\": \"LEFT\"" "\"type\": \"ClosePath2DCommand{double}\"")
    string(FIND "${json}" "${expected}" position)
    if(position EQUAL -1)
        message(FATAL_ERROR "the path file holds no ${expected}:\n${json}")
    endif()
endforeach()
run_host(0 "${work}/icons.json" "${work}/icons_back.svg")
printed_path_data(throughJson)
if(NOT throughJson MATCHES "^M12 21.35 L10.55 20.03 C5.4 15.36 2 12.28 2 8.5 C2 5.42 4.42 3 7.5 3 C")
    message(FATAL_ERROR "unexpected path data: ${throughJson}")
endif()
if(NOT throughJson MATCHES "A11 11 0 1 1 12 1 A11 11 0 0 1 12 23 Z$")
    message(FATAL_ERROR "the arcs did not keep their flags: ${throughJson}")
endif()
string(JSON type ERROR_VARIABLE failure TYPE "${json}")
if(failure)
    message(FATAL_ERROR "icons.json is not JSON: ${failure}")
endif()
expect_well_formed_xml("${WORK_DIR}/icons_back.svg")
file(READ "${WORK_DIR}/icons_back.svg" picture)
if(NOT picture MATCHES "<path d=\"${throughJson}\"")
    message(FATAL_ERROR "the picture does not draw the printed path data:\n${picture}")
endif()

# 2. the same geometry through XML, and from the printed data alone
run_host(0 "${work}/icons_back.svg" "${work}/icons.xml")
run_host(0 "${work}/icons.xml" "${work}/icons_xml.svg")
printed_path_data(throughXml)
file(WRITE "${WORK_DIR}/data.txt" "${throughJson}\n")
run_host(0 "${work}/data.txt" "${work}/data.json")
run_host(0 "${work}/data.json" "${work}/data.svg")
printed_path_data(fromData)
if(NOT throughXml STREQUAL throughJson OR NOT fromData STREQUAL throughJson)
    message(FATAL_ERROR "the geometry changed:\n${throughJson}\n${throughXml}\n${fromData}")
endif()

# 3. malformed path data
file(WRITE "${WORK_DIR}/bad.txt" "M0 0 L1 x")
run_host(1 "${work}/bad.txt" "${work}/bad.json")
if(NOT errors MATCHES "bad.txt: line 1, column 9: expected a number, found 'x'")
    message(FATAL_ERROR "expected the place of the error, found: ${errors}")
endif()
if(EXISTS "${WORK_DIR}/bad.json")
    message(FATAL_ERROR "a refused conversion wrote its output")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
