# Defines the imported target lz4::lz4 from the system's LZ4 library when it is found (Debian's
# liblz4-dev ships no CMake package of its own). Used by the build and by the installed package.
if(NOT TARGET lz4::lz4)
    find_path(LZ4_INCLUDE_DIR lz4.h)
    find_library(LZ4_LIBRARY NAMES lz4 liblz4)
    if(LZ4_INCLUDE_DIR AND LZ4_LIBRARY)
        add_library(lz4::lz4 UNKNOWN IMPORTED)
        set_target_properties(lz4::lz4 PROPERTIES IMPORTED_LOCATION ${LZ4_LIBRARY}
            INTERFACE_INCLUDE_DIRECTORIES ${LZ4_INCLUDE_DIR})
    endif()
endif()
