# zor_host runs shared by the end-to-end scripts; `emulator` runs Windows programs.

# Runs zor_host with the arguments, prints what it printed and fails unless it exits with
# `expectedResult`; leaves its standard output in `output` and its error output in `errors`.
function(run_host expectedResult)
    execute_process(COMMAND ${emulator} "${HOST}" ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE errors
        RESULT_VARIABLE result)
    message(STATUS "zor_host ${ARGN}\n${output}${errors}")
    if(NOT result EQUAL expectedResult)
        message(FATAL_ERROR "zor_host exited with ${result}, expected ${expectedResult}")
    endif()
    set(output "${output}" PARENT_SCOPE)
    set(errors "${errors}" PARENT_SCOPE)
endfunction()

# Fails unless the last run printed each of the texts.
function(expect_output)
    foreach(expected IN LISTS ARGN)
        string(FIND "${output}" "${expected}" position)
        if(position EQUAL -1)
            message(FATAL_ERROR "zor_host did not print: ${expected}")
        endif()
    endforeach()
endfunction()

# Fails unless `file` is well-formed XML, for xmllint where the machine has it (XMLLINT).
function(expect_well_formed_xml file)
    if(XMLLINT)
        execute_process(COMMAND "${XMLLINT}" --noout "${file}" RESULT_VARIABLE lint)
        if(NOT lint EQUAL 0)
            message(FATAL_ERROR "${file} is not well-formed XML")
        endif()
    endif()
endfunction()
