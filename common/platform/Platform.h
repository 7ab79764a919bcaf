#pragma once

// The operating-system services the foundation needs. Each has a Windows implementation
// (platform/windows) and a POSIX one (platform/posix); no other code includes OS headers.

#include "common/Types.h"

#include <cstdio>

namespace zor::platform {

/// Handle of a loaded dynamic library (HMODULE on Windows, the dlopen handle elsewhere).
using LibraryHandle = void*;

/// Loads a dynamic library by its path, given as NUL-terminated UTF-16 (LoadLibraryW).
/// On failure returns null and stores the system error code in `errorCode`.
LibraryHandle loadLibrary(const WideChar* path, uint32* errorCode);

/// Address of an exported symbol, or null (GetProcAddress).
void* findSymbol(LibraryHandle library, const char* name);

/// Identifier of the current process (GetCurrentProcessId).
uint32 currentProcessId();

/// Identifier of the calling thread (GetCurrentThreadId).
uint32 currentThreadId();

/// Writes the running executable's full path as NUL-terminated UTF-16 into `buffer`
/// (GetModuleFileNameW); returns the number of units written without the NUL, or 0 on
/// failure with the system error code in `errorCode`.
uint32 executablePath(WideChar* buffer, uint32 capacity, uint32* errorCode);

/// The characters that separate folders in a path on this platform ("\\" or "/").
bool isPathSeparator(WideChar character);

/// Opens a file by its NUL-terminated UTF-16 path with a C library mode ("ab", "rb", ...);
/// null when it cannot be opened (_wfopen).
std::FILE* openFile(const WideChar* path, const char* mode);

/// Calendar time in UTC, field for field as the Windows SYSTEMTIME.
struct SystemTime {
    uint16 year;
    uint16 month;
    uint16 dayOfWeek;
    uint16 day;
    uint16 hour;
    uint16 minute;
    uint16 second;
    uint16 milliseconds;
};

/// The current UTC time to the millisecond (GetSystemTime).
SystemTime systemTime();

/// The current UTC time in 100-nanosecond units since 1601-01-01 (a FILETIME), from the
/// most precise clock available; on Windows the precise clock is looked up once at run time.
uint64 preciseFileTime();

/// Converts a FILETIME value to calendar time (FileTimeToSystemTime).
SystemTime fileTimeToSystemTime(uint64 fileTime);

/// Starts the socket library for version 2.2 (WSAStartup); returns 0 or the error code.
int startSockets();

/// Ends the socket library (WSACleanup).
void stopSockets();

} // namespace zor::platform
