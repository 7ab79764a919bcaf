# Writes replay pages, from the hand-made runs in FIXTURES and from example scenes simulated by
# HOST, and checks them in Chromium with replay_browser.py.
file(REMOVE_RECURSE ${WORK_DIR}/pages)
set(pages "")
file(GLOB fixtures ${FIXTURES}/*.json)
foreach(fixture IN LISTS fixtures)
    get_filename_component(name ${fixture} NAME_WE)
    file(MAKE_DIRECTORY ${WORK_DIR}/pages/fixture_${name})
    execute_process(COMMAND ${FIXTURE} ${fixture} ${WORK_DIR}/pages/fixture_${name}/replay.html RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not write the page of ${fixture}")
    endif()
    list(APPEND pages fixture_${name}=${WORK_DIR}/pages/fixture_${name}/replay.html)
endforeach()
# Spheres in a box, a capsule on a level with steps and a lift, balls on a mesh ramp, a break on
# a walled tile map, and bodies that wrap around the camera's view.
foreach(scene balls_in_box_elastic capsule_level mesh_ramp tile_map_break wrap_around)
    execute_process(COMMAND ${HOST} simulate ${SCENES}/${scene}.json --steps 300 --dt 0.01 --out ${WORK_DIR}/pages/${scene}
        RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "zor_host simulate ${scene} failed (${result})")
    endif()
    list(APPEND pages ${scene}=${WORK_DIR}/pages/${scene}/replay.html)
endforeach()
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${CHROMIUM} ${WORK_DIR}/screenshots ${pages} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the replay pages failed in the browser (screenshots in ${WORK_DIR}/screenshots)")
endif()
