# Runs zor_host simulate on every example scene, twice, and on broken scene files:
#   - each run writes trajectories.csv, the final scene, picture.svg and replay.html;
#   - the two runs write identical files;
#   - the picture is well-formed XML (xmllint) with one path per body of the run;
#   - the worked example falls as explicit Euler says;
#   - a broken scene file ends the run with exit code 1 and a message naming the file.
#   cmake -DHOST=<zor_host> -DSCENES=<folder> -DWORK_DIR=<folder> [-DXMLLINT=<xmllint>]
#         [-DEMULATOR=<a|b|c>] [-DPATH_PREFIX=Z:] -P SimulateEndToEnd.cmake

string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(simulate expectedResult)
    execute_process(COMMAND ${emulator} "${HOST}" --log-dir "${PATH_PREFIX}${WORK_DIR}" simulate ${ARGN}
        OUTPUT_VARIABLE output ERROR_VARIABLE error RESULT_VARIABLE result)
    if(NOT result EQUAL expectedResult)
        message(FATAL_ERROR "zor_host simulate ${ARGN} exited with ${result}, expected ${expectedResult}:\n"
            "${output}${error}")
    endif()
    set(output "${output}" PARENT_SCOPE)
    set(error "${error}" PARENT_SCOPE)
endfunction()

function(expect_in text expected what)
    string(FIND "${text}" "${expected}" position)
    if(position EQUAL -1)
        message(FATAL_ERROR "${what} lacks: ${expected}\n${text}")
    endif()
endfunction()

if(NOT XMLLINT)
    message(FATAL_ERROR "xmllint is missing: scripts/setup installs it (libxml2-utils)")
endif()
file(GLOB scenes "${SCENES}/*.json" "${SCENES}/*.xml")
list(LENGTH scenes sceneCount)
if(sceneCount LESS 5)
    message(FATAL_ERROR "expected the example scenes in ${SCENES}, found: ${scenes}")
endif()
foreach(scene IN LISTS scenes)
    get_filename_component(name "${scene}" NAME_WE)
    foreach(run a b)
        simulate(0 "${PATH_PREFIX}${scene}" --steps 40 --dt 0.05 --out "${PATH_PREFIX}${WORK_DIR}/${name}/${run}")
    endforeach()
    expect_in("${output}" "Picture: ${PATH_PREFIX}${WORK_DIR}/${name}/b/picture.svg" "the output of ${name}")
    get_filename_component(extension "${scene}" EXT)
    foreach(result trajectories.csv final${extension} picture.svg replay.html)
        file(SHA256 "${WORK_DIR}/${name}/a/${result}" first)
        file(SHA256 "${WORK_DIR}/${name}/b/${result}" second)
        if(NOT first STREQUAL second)
            message(FATAL_ERROR "two runs of ${name} wrote different ${result}")
        endif()
    endforeach()
    # One path per body of the run (the rows of step 0; grid stages carry attributes, not bodies).
    file(STRINGS "${WORK_DIR}/${name}/a/trajectories.csv" bodies REGEX "^0,0,")
    file(READ "${WORK_DIR}/${name}/a/picture.svg" svg)
    string(REGEX MATCHALL "<path " paths "${svg}")
    list(LENGTH bodies bodyCount)
    list(LENGTH paths pathCount)
    if(NOT bodyCount EQUAL pathCount)
        message(FATAL_ERROR "${name}: ${bodyCount} rigid bodies but ${pathCount} paths in the picture")
    endif()
    execute_process(COMMAND "${XMLLINT}" --noout "${WORK_DIR}/${name}/a/picture.svg" RESULT_VARIABLE lint)
    if(NOT lint EQUAL 0)
        message(FATAL_ERROR "${name}: picture.svg is not well-formed")
    endif()
    # The final scene is a scene file again.
    simulate(0 "${PATH_PREFIX}${WORK_DIR}/${name}/a/final${extension}" --steps 1 --out "${PATH_PREFIX}${WORK_DIR}/${name}/again")
endforeach()

# The worked example: at rest at the origin, gravity 9.81, steps of 0.5.
simulate(0 "${PATH_PREFIX}${SCENES}/worked_example.json" --steps 2 --dt 0.5 --out "${PATH_PREFIX}${WORK_DIR}/worked")
file(READ "${WORK_DIR}/worked/trajectories.csv" csv)
expect_in("${csv}" "\n1,0.5,body,0,0,0,0,0,0,0,-4.905,0\n" "the worked example")
expect_in("${csv}" "\n2,1,body,0,-2.4525,0,0,0,0,0,-9.81,0\n" "the worked example")

# Broken scene files and options.
file(WRITE "${WORK_DIR}/truncated.json" "{\"objects\": [{\"type\": \"Scene3D{double}\", \"variables\": {\"gravity\": 9")
file(WRITE "${WORK_DIR}/no_scene.json" "{\"objects\": [{\"type\": \"Sphere3D{double}\"}]}")
file(WRITE "${WORK_DIR}/mixed.json" "{\"objects\": [{\"type\": \"Scene3D{double}\", \"children\": [{\"type\": \"Sphere3D{float}\"}]}]}")
file(WRITE "${WORK_DIR}/unknown.json" "{\"objects\": [{\"type\": \"Scene3D{half}\"}]}")
file(WRITE "${WORK_DIR}/wrong_kind.json" "{\"objects\": [{\"type\": \"Scene3D{double}\", \"variables\": {\"gravity\": \"down\"}}]}")
foreach(broken truncated no_scene mixed unknown wrong_kind)
    simulate(1 "${PATH_PREFIX}${WORK_DIR}/${broken}.json" --out "${PATH_PREFIX}${WORK_DIR}/broken")
    expect_in("${error}" "${broken}.json" "the complaint about ${broken}.json")
endforeach()
simulate(1 "${PATH_PREFIX}${WORK_DIR}/missing.json")
simulate(2 "${PATH_PREFIX}${SCENES}/locks.json" --steps 0)
simulate(2 "${PATH_PREFIX}${SCENES}/locks.json" --dt)
simulate(2 "${PATH_PREFIX}${SCENES}/locks.json" --speed 3)
if(EXISTS "${WORK_DIR}/broken")
    message(FATAL_ERROR "a refused run created its output folder")
endif()
