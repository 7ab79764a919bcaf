# Cross-compiles for 64-bit Windows with MinGW-w64 (the POSIX-threads variant, whose C++ library
# has a complete std::thread). Test programs run under Wine (see scripts/wine-run).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOR_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW sysroot only; programs (objdump, wine) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${ZOR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
