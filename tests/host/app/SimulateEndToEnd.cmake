# Runs zor_host simulate on every example scene, twice, and on broken scene files and options:
#   - each run writes trajectories.csv, the final scene, picture.svg, replay.html and summary.json;
#   - the two runs write identical files (the summary's times aside);
#   - every output is well-formed: the picture for xmllint, with one path per body of the run,
#     the summary and the replay page's data for a JSON parser, the CSV's rows with 12 fields;
#   - the replay page draws in a real browser (when Chromium is there; zor_replay_page_browser
#     checks it in depth);
#   - the worked example falls as explicit Euler says;
#   - --record-every and --outputs choose what is written; a long run stays small in memory;
#   - a run whose bodies overflow stops at that step, says so and keeps what came before;
#   - a broken scene file, or an output folder that cannot be written, is refused before any
#     step, with exit code 1 and a message naming it.
#   cmake -DHOST=<zor_host> -DSCENES=<folder> -DWORK_DIR=<folder> [-DXMLLINT=<xmllint>]
#         [-DCHROMIUM=<chromium>] [-DSANITIZED=ON] [-DEMULATOR=<a|b|c>] [-DPATH_PREFIX=Z:] -P SimulateEndToEnd.cmake

string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

include(${CMAKE_CURRENT_LIST_DIR}/HostRun.cmake)

function(simulate expectedResult)
    execute_process(COMMAND ${emulator} "${HOST}" ${hostOptions} --log-dir "${PATH_PREFIX}${WORK_DIR}" simulate ${ARGN}
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

# Fails unless the JSON text parses.
function(expect_json text what)
    string(JSON type ERROR_VARIABLE failure TYPE "${text}")
    if(failure)
        message(FATAL_ERROR "${what} is not JSON: ${failure}")
    endif()
endfunction()

# Fails unless every output of the run in `folder` is well-formed.
function(expect_well_formed folder)
    if(EXISTS "${folder}/picture.svg")
        expect_well_formed_xml("${folder}/picture.svg")
    endif()
    file(READ "${folder}/summary.json" summary)
    expect_json("${summary}" "${folder}/summary.json")
    if(EXISTS "${folder}/replay.html")
        file(READ "${folder}/replay.html" page)
        # The run's data (where every '<' is escaped), the 3D library and the viewer.
        string(REGEX MATCHALL "</script>" scripts "${page}")
        string(REGEX MATCH "<script type=\"application/json\" id=\"run\">([^<]*)</script>" data "${page}")
        list(LENGTH scripts scriptCount)
        if(NOT scriptCount EQUAL 3 OR NOT data)
            message(FATAL_ERROR "${folder}/replay.html has no data or other scripts than its three")
        endif()
        expect_json("${CMAKE_MATCH_1}" "the data of ${folder}/replay.html")
    endif()
    foreach(table trajectories:11 contacts:10)
        string(REPLACE ":" ";" table "${table}")
        list(GET table 0 name)
        list(GET table 1 fields)
        if(NOT EXISTS "${folder}/${name}.csv")
            continue()
        endif()
        # Quoted fields become one word, and the rows a list (brackets would bind its items).
        file(READ "${folder}/${name}.csv" csv)
        string(REGEX REPLACE "\"([^\"]|\"\")*\"" "name" csv "${csv}")
        string(REGEX REPLACE "[][;]" "_" csv "${csv}")
        string(REGEX REPLACE "\n$" "" csv "${csv}")
        string(REPLACE "\n" ";" rows "${csv}")
        foreach(row IN LISTS rows)
            string(REGEX MATCHALL "," commas "${row}")
            list(LENGTH commas commaCount)
            if(NOT commaCount EQUAL fields)
                message(FATAL_ERROR "${folder}/${name}.csv: a row without ${fields} separators: ${row}")
            endif()
        endforeach()
    endforeach()
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
    expect_in("${output}" "Open ${PATH_PREFIX}${WORK_DIR}/${name}/b/replay.html" "the output of ${name}")
    get_filename_component(extension "${scene}" EXT)
    foreach(result trajectories.csv final${extension} picture.svg replay.html)
        file(SHA256 "${WORK_DIR}/${name}/a/${result}" first)
        file(SHA256 "${WORK_DIR}/${name}/b/${result}" second)
        if(NOT first STREQUAL second)
            message(FATAL_ERROR "two runs of ${name} wrote different ${result}")
        endif()
    endforeach()
    # One path per body of the run (the rows of step 0; grid stages carry attributes, not bodies),
    # but for the ramp, a mesh that nothing moves and so is drawn as scenery.
    file(STRINGS "${WORK_DIR}/${name}/a/trajectories.csv" bodies REGEX "^0,0,")
    list(FILTER bodies EXCLUDE REGEX "^0,0,ramp,")
    file(READ "${WORK_DIR}/${name}/a/picture.svg" svg)
    string(REGEX MATCHALL "<path " paths "${svg}")
    list(LENGTH bodies bodyCount)
    list(LENGTH paths pathCount)
    if(NOT bodyCount EQUAL pathCount)
        message(FATAL_ERROR "${name}: ${bodyCount} rigid bodies but ${pathCount} paths in the picture")
    endif()
    expect_well_formed("${WORK_DIR}/${name}/a")
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
set(locks "${PATH_PREFIX}${SCENES}/locks.json")
foreach(options IN ITEMS "--steps|0" "--steps|1000000000000" "--dt" "--speed|3" "--outputs|csv,pdf" "--record-every|-1")
    string(REPLACE "|" ";" options "${options}")
    simulate(2 "${locks}" ${options} --out "${PATH_PREFIX}${WORK_DIR}/broken")
endforeach()
expect_in("${error}" "--record-every takes a positive whole number, not -1" "the complaint about --record-every")
# Output folders that cannot be written: a file, and a folder inside a file.
file(WRITE "${WORK_DIR}/a_file" "")
simulate(1 "${locks}" --out "${PATH_PREFIX}${WORK_DIR}/a_file")
expect_in("${error}" "a_file is a file, not a folder" "the refusal of a file as the output folder")
simulate(1 "${locks}" --out "${PATH_PREFIX}${WORK_DIR}/a_file/run")
expect_in("${error}" "cannot create the folder ${PATH_PREFIX}${WORK_DIR}/a_file/run: " "the refusal of a folder in a file")
if(EXISTS "${WORK_DIR}/broken")
    message(FATAL_ERROR "a refused run created its output folder")
endif()

# What is recorded: every 7th step and the last; only the CSV (and the summary); quietly.
set(hostOptions --quiet)
simulate(0 "${locks}" --steps 20 --record-every 7 --outputs csv --out "${PATH_PREFIX}${WORK_DIR}/sparse")
unset(hostOptions)
if(NOT output STREQUAL "")
    message(FATAL_ERROR "--quiet printed: ${output}")
endif()
file(GLOB written RELATIVE "${WORK_DIR}/sparse" "${WORK_DIR}/sparse/*")
file(STRINGS "${WORK_DIR}/sparse/trajectories.csv" rows REGEX "^[0-9]+,")
list(TRANSFORM rows REPLACE ",.*" "")
list(REMOVE_DUPLICATES rows)
if(NOT written STREQUAL "contacts.csv;summary.json;trajectories.csv" OR NOT rows STREQUAL "0;7;14;20")
    message(FATAL_ERROR "--record-every 7 --outputs csv wrote ${written} with the steps ${rows}")
endif()

# One body for a million steps streams its rows: it takes no more memory than a thousand steps
# (under the sanitizers, whose quarantine keeps freed memory, a tenth of the steps and no bound).
# The bound is on the growth: the process's own size (under Wine, the mapped program with its
# debugging information) is no part of it.
file(WRITE "${WORK_DIR}/one_body.json" [[{"objects": [{"type": "Scene3D{double}", "children": [
  {"type": "Sphere3D{double}", "variables": {"name": "ball", "radius": 0.5}, "children": [
    {"type": "RigidBody3DAttribute{double}", "variables": {"linearSpeed": {"x": 1, "y": 0, "z": 0}}}]}]}]}]])
if(SANITIZED)
    set(steps 100000)
else()
    set(steps 1000000)
endif()
foreach(run short long)
    if(run STREQUAL "short")
        set(count 1000)
    else()
        set(count ${steps})
    endif()
    simulate(0 "${PATH_PREFIX}${WORK_DIR}/one_body.json" --steps ${count} --outputs csv --out "${PATH_PREFIX}${WORK_DIR}/${run}")
    file(READ "${WORK_DIR}/${run}/summary.json" summary)
    string(JSON ${run} GET "${summary}" peakMemoryMB)
endforeach()
string(REGEX REPLACE "\\..*" "" shortWhole "${short}")
math(EXPR limit "${shortWhole} + 11")
if(NOT SANITIZED AND long GREATER limit)
    message(FATAL_ERROR "a million steps of one body took ${long} MB, a thousand ${short} MB")
endif()

# A body whose speed overflows the float range at step 7, with a name no output may carry raw,
# and one resting on a floor, in contact at every step.
file(WRITE "${WORK_DIR}/overflow.json" [=[{"objects": [{"type": "Scene3D{float}", "variables": {"gravity": 9.81}, "children": [
  {"type": "GridStage3D{float}", "variables": {"columns": 1, "rows": 1, "cellWidth": 2, "cellDepth": 2, "cells": "1",
                                               "tile1": {"floor": {"rigidBody": 0}}},
   "children": [{"type": "RigidBody3DAttribute{float}", "variables": {"infiniteMass": true, "restitutionFactor": 0}}]},
  {"type": "Sphere3D{float}", "variables": {"name": "resting", "position": {"x": 1, "y": 0.25, "z": -1}, "radius": 0.25},
   "children": [{"type": "RigidBody3DAttribute{float}", "variables": {"restitutionFactor": 0}},
                {"type": "Collision3DAttribute{float}", "variables": {"eventParent": 0}}]},
  {"type": "Sphere3D{float}", "variables": {"name": "b\u0001ll</script>]]>", "radius": 0.5}, "children": [
    {"type": "RigidBody3DAttribute{float}", "variables": {"linearSpeed": {"x": 3e38, "y": 0, "z": 0},
                                                          "linearAcceleration": {"x": 3e38, "y": 0, "z": 0}}}]}]}]}]=])
simulate(5 "${PATH_PREFIX}${WORK_DIR}/overflow.json" --steps 100 --out "${PATH_PREFIX}${WORK_DIR}/overflow")
expect_in("${error}" "stopped at step 7: the speed of" "the stop")
expect_in("${error}" "is not finite: x = inf; the outputs end at step 6" "the stop")
expect_well_formed("${WORK_DIR}/overflow")
file(READ "${WORK_DIR}/overflow/summary.json" summary)
string(JSON stopped GET "${summary}" stopped)
expect_in("${stopped}" "step 7: " "the summary of the stopped run")
# The last row holds the speed the body had at step 6, the float's own value.
file(READ "${WORK_DIR}/overflow/trajectories.csv" csv)
expect_in("${csv}" ",3.3600002e+38," "the last row of the stopped run")
# Recorded every 4th step, the stopped run ends its trajectories with step 6, whose contacts were
# only counted: contacts.csv ends with step 4.
simulate(5 "${PATH_PREFIX}${WORK_DIR}/overflow.json" --steps 100 --record-every 4 --outputs csv
    --out "${PATH_PREFIX}${WORK_DIR}/overflow_sparse")
foreach(file trajectories contacts)
    file(STRINGS "${WORK_DIR}/overflow_sparse/${file}.csv" ${file} REGEX "^[0-9]+,")
    list(TRANSFORM ${file} REPLACE ",.*" "")
    list(REMOVE_DUPLICATES ${file})
endforeach()
if(NOT trajectories STREQUAL "0;4;6" OR NOT contacts STREQUAL "4")
    message(FATAL_ERROR "the stopped sparse run recorded the steps ${trajectories} and the contacts of ${contacts}")
endif()

# The replay page draws its first step in a browser, from file:// with the network off.
if(CHROMIUM)
    execute_process(COMMAND "${CHROMIUM}" --headless --no-sandbox --disable-gpu --dump-dom
        "file://${WORK_DIR}/balls_in_box_elastic/a/replay.html" OUTPUT_VARIABLE dom ERROR_QUIET TIMEOUT 120)
    expect_in("${dom}" "<span id=\"clock\">step 0 · t = 0.000 s</span>" "the replay page in a browser")
endif()
