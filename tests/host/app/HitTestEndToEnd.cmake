# Runs zor_host hittest on the example scenes, as a script would, with both engines:
#   1. the answer for each point of a scene's points file must be the expected one, and the JSON
#      (float) and XML (double) forms of a scene must give the same answers;
#   2. the picture is written;
#   3. bad input ends with a message and exit code 1 (a scene that cannot be read) or 2 (wrong
#      operands, a bad points file).
#   cmake -DHOST=<zor_host> -DSCENES=<examples/scenes> -DEXPECTED=<folder> -DWORK_DIR=<folder>
#         [-DEMULATOR=<a|b|c>] [-DPATH_PREFIX=Z:] -P HitTestEndToEnd.cmake

string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

include(${CMAKE_CURRENT_LIST_DIR}/HostRun.cmake)

# Runs zor_host with its log in the work folder; `output` gets standard output and `errors`
# standard error.
function(run_hittest expectedResult)
    execute_process(COMMAND ${emulator} "${HOST}" ${hostOptions} --log-dir "${PATH_PREFIX}${WORK_DIR}" hittest ${ARGN}
                    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE result)
    if(NOT result EQUAL expectedResult)
        message(FATAL_ERROR "zor_host hittest ${ARGN} exited with ${result}, expected ${expectedResult}\n${output}${errors}")
    endif()
    set(output "${output}" PARENT_SCOPE)
    set(errors "${errors}" PARENT_SCOPE)
endfunction()

# The lines that answer for a point ("X Y: ..."), without carriage returns.
function(point_lines text outVariable)
    string(REPLACE "\r" "" text "${text}")
    string(REGEX MATCHALL "[-0-9.e+]+ [-0-9.e+]+: [^\n]*\n" lines "${text}")
    string(JOIN "" joined ${lines})
    set(${outVariable} "${joined}" PARENT_SCOPE)
endfunction()

# Fails unless the file is a well-formed SVG picture.
function(expect_picture picture)
    file(READ "${picture}" svg)
    if(NOT svg MATCHES "^<svg .*</svg>\n$")
        message(FATAL_ERROR "${picture} is not a picture")
    endif()
    expect_well_formed_xml("${picture}")
endfunction()

foreach(scene small-ui docking-layout)
    foreach(engine 2d tester)
        file(READ "${EXPECTED}/${scene}.${engine}.txt" expected)
        foreach(format json xml)
            set(picture "${WORK_DIR}/${scene}.${format}.${engine}.svg")
            run_hittest(0 "${PATH_PREFIX}${SCENES}/${scene}.${format}" --points "${PATH_PREFIX}${SCENES}/${scene}.points"
                        --engine ${engine} --svg "${PATH_PREFIX}${picture}")
            point_lines("${output}" answers)
            if(NOT answers STREQUAL expected)
                message(FATAL_ERROR "zor_host hittest ${scene}.${format} --engine ${engine} answered:\n${answers}"
                                    "expected:\n${expected}")
            endif()
            expect_picture("${picture}")
        endforeach()
    endforeach()
endforeach()

# The picture numbers the points and says what each one hit.
file(READ "${WORK_DIR}/docking-layout.json.tester.svg" svg)
foreach(label "2 (110, 70): horizontal separator 0 of workspace" "7 (110, 150): tree" "10 (110, 360): no hit")
    string(FIND "${svg}" ">${label}</text>" position)
    if(position EQUAL -1)
        message(FATAL_ERROR "the picture does not say '${label}'")
    endif()
endforeach()

# One point on the command line; the default engine is PhysicsEngine2D. The module registered
# both engines after its attributes, the tester first (the start-up report, asked for).
set(hostOptions --verbose)
run_hittest(0 "${PATH_PREFIX}${SCENES}/small-ui.json" 430 260)
unset(hostOptions)
string(REPLACE "\r" "" classes "${output}")
string(FIND "${classes}" "RigidBody3DAttribute{double}\n    TesterEngine\n    PhysicsEngine2D\n    PhysicsEngine3D\n" position)
if(position EQUAL -1)
    message(FATAL_ERROR "the engines are not registered in order:\n${output}")
endif()
point_lines("${output}" answers)
if(NOT answers STREQUAL "430 260: \"ok\" event \"ok.clicked\" target \"content\" separator 0 passive false\n")
    message(FATAL_ERROR "one point answered: ${answers}")
endif()

# Names no picture may carry raw: a control character, the end of CDATA, markup.
file(READ "${SCENES}/small-ui.json" hostile)
string(REPLACE "\"name\": \"sidebar\"" "\"name\": \"side\\u0001bar]]></svg><x a='\"" hostile "${hostile}")
file(WRITE "${WORK_DIR}/hostile.json" "${hostile}")
run_hittest(0 "${PATH_PREFIX}${WORK_DIR}/hostile.json" 70 120 --svg "${PATH_PREFIX}${WORK_DIR}/hostile.svg")
expect_picture("${WORK_DIR}/hostile.svg")

# Bad command lines: a message on standard error and the exit code (bad files: HostileInputs.sh).
# Each case: exit code|operands...|message, separated by '|'.
set(scene "${PATH_PREFIX}${SCENES}/small-ui.json")
set(cases
    "2|${scene}|1|usage: zor_host [options] hittest SCENE"
    "2|${scene}|1|2|3|expected two coordinates"
    "2|${scene}|1|2|--engine|3d|--engine is 2d or tester, not 3d"
    "2|${scene}|1|nan|X and Y must be finite numbers"
    "2|${scene}|1|2|--svg|--svg needs a value"
    "2|${scene}|1|2|--engine|2d\ntester|not 2d\\x0Atester")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 code)
    list(GET parts -1 message)
    list(REMOVE_AT parts 0 -1)
    run_hittest(${code} ${parts})
    string(FIND "${errors}" "${message}" position)
    if(position EQUAL -1)
        message(FATAL_ERROR "zor_host hittest ${parts} did not say '${message}' but:\n${errors}")
    endif()
endforeach()
