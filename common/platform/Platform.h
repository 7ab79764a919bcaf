#pragma once

// The operating-system services the foundation needs. Each has a Windows implementation
// (platform/windows) and a POSIX one (platform/posix); no other code includes OS headers.

#include "common/Types.h"

#include <cstdio>

namespace zor {
class String;
}

// Paths are UTF-8 text everywhere above this layer. Only the Windows calls take UTF-16, made
// with the framework's own conversion (String::toUTF16); elsewhere a file name is the bytes
// as they are, whether or not they are valid UTF-8.

namespace zor::platform {

/// Handle of a loaded dynamic library (HMODULE on Windows, the dlopen handle elsewhere).
using LibraryHandle = void*;

/// Loads a dynamic library by its path (LoadLibraryW on Windows, dlopen elsewhere). On failure
/// returns null and describes the cause in `error`: the GetLastError code in decimal on
/// Windows, the loader's own text (dlerror) elsewhere.
LibraryHandle loadLibrary(const String& path, String& error);

/// Address of an exported symbol, or null (GetProcAddress).
void* findSymbol(LibraryHandle library, const char* name);

/// Identifier of the current process (GetCurrentProcessId).
uint32 currentProcessId();

/// Identifier of the calling thread (GetCurrentThreadId).
uint32 currentThreadId();

/// Replaces `path` with the running executable's whole path (GetModuleFileNameW with a buffer
/// grown until the path fits; the link /proc/self/exe elsewhere). A path is never cut: when it
/// cannot be read whole, returns false with the system error code in `errorCode`.
bool executablePath(String& path, uint32* errorCode);

/// The characters that separate folders in a path on this platform ("\\" and "/" on Windows,
/// "/" elsewhere, where a backslash is an ordinary file-name character).
bool isPathSeparator(WideChar character);

/// Opens a file by its path with a C library mode ("ab", "rb", ...); null when it cannot be
/// opened, with errno telling why (_wfopen on Windows).
std::FILE* openFile(const String& path, const char* mode);

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

/// Runs `command` through the system's shell and opens its standard output for reading (popen;
/// _popen on Windows); null when it cannot be started.
std::FILE* openCommandOutput(const char* command);

/// Closes what openCommandOutput opened, once the command has ended; its exit status, or -1.
int closeCommandOutput(std::FILE* output);

/// The largest resident memory the process has had so far, in kilobytes (getrusage; the peak
/// working set on Windows).
uint64 peakResidentKilobytes();

/// True when `stream` is a terminal a person watches (isatty; _isatty on Windows).
bool isTerminal(std::FILE* stream);

/// Starts the socket library for version 2.2 (WSAStartup); returns 0 or the error code.
int startSockets();

/// Ends the socket library (WSACleanup).
void stopSockets();

} // namespace zor::platform
