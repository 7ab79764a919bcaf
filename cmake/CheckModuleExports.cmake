# Checks that a shared module exports exactly the given symbols of its own.
#   cmake -DMODULE=<file> -DTOOL=<objdump|nm> -DFORMAT=<pe|elf> -DEXPECTED=<a;b> -P CheckModuleExports.cmake
# PE files are read with "objdump -p" (the export name table), ELF files with
# "nm -D --defined-only". Symbols of the C++ runtime and the linker's own markers do not count.

foreach(variable MODULE TOOL FORMAT EXPECTED)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "CheckModuleExports: ${variable} is not set")
    endif()
endforeach()
if(NOT EXISTS "${MODULE}")
    message(FATAL_ERROR "CheckModuleExports: ${MODULE} does not exist")
endif()

if(FORMAT STREQUAL "pe")
    execute_process(COMMAND "${TOOL}" -p "${MODULE}" OUTPUT_VARIABLE listing RESULT_VARIABLE result)
else()
    execute_process(COMMAND "${TOOL}" -D --defined-only "${MODULE}" OUTPUT_VARIABLE listing RESULT_VARIABLE result)
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "CheckModuleExports: ${TOOL} failed on ${MODULE} (${result})")
endif()

set(exported "")
string(REPLACE "\n" ";" lines "${listing}")
set(inNameTable FALSE)
foreach(line IN LISTS lines)
    if(FORMAT STREQUAL "pe")
        if(line MATCHES "\\[Ordinal/Name Pointer\\] Table")
            set(inNameTable TRUE)
        elseif(inNameTable AND line MATCHES "^[ \t]*\\[[ 0-9]+\\] ([^ \t]+)")
            list(APPEND exported "${CMAKE_MATCH_1}")
        elseif(inNameTable AND NOT line MATCHES "^[ \t]*$")
            set(inNameTable FALSE)
        endif()
    elseif(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] ([^ ]+)$")
        set(symbol "${CMAKE_MATCH_1}")
        # Vague-linkage instantiations of the standard library keep its default visibility.
        if(symbol MATCHES "^_Z[A-Z]*N?K?S[tabiod]" OR symbol MATCHES "^_ZN9__gnu_cxx"
           OR symbol MATCHES "^_ZG[VR]Z?N?K?S[tabiod]"
           OR symbol MATCHES "^(_init|_fini|_edata|_end|__bss_start)$")
            continue()
        endif()
        list(APPEND exported "${symbol}")
    endif()
endforeach()

list(SORT exported)
list(REMOVE_DUPLICATES exported)
set(expected ${EXPECTED})
list(SORT expected)
if(NOT exported STREQUAL expected)
    string(REPLACE ";" " " exportedText "${exported}")
    string(REPLACE ";" " " expectedText "${expected}")
    message(FATAL_ERROR "${MODULE} exports [${exportedText}], expected exactly [${expectedText}]")
endif()
message(STATUS "${MODULE} exports exactly: ${expected}")
