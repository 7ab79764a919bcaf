#include "common/platform/LargeBlock.h"
#include "common/platform/Platform.h"

#include "common/containers/Array.h"
#include "common/containers/String.h"

#include <windows.h>
#include <winsock2.h>
// psapi.h needs the types windows.h declares.
#include <psapi.h>

#include <atomic>
#include <cerrno>
#include <io.h>
#include <malloc.h>

namespace zor::platform {

static_assert(sizeof(WideChar) == sizeof(wchar_t) && std::is_same_v<WideChar, wchar_t>,
              "UTF-16 text is handed to the W functions unchanged");

namespace {

// Paths of the extended form reach 32,767 UTF-16 units; 65,536 holds any of them.
constexpr uint32 kLongestPath = 65536;

using PreciseClock = void(WINAPI*)(LPFILETIME);

// The precise clock is looked up once. The flag is set before the address is stored, so a
// thread that sees the flag a moment early simply uses the coarse clock for that one call.
std::atomic<uint32> g_clockLookedUp{0};
std::atomic<PreciseClock> g_preciseClock{nullptr};

// Created on first use, deleted at process exit.
class ClockLookupSection {
public:
    ClockLookupSection() { InitializeCriticalSection(&m_section); }
    ~ClockLookupSection() { DeleteCriticalSection(&m_section); }
    ClockLookupSection(const ClockLookupSection&) = delete;
    ClockLookupSection& operator=(const ClockLookupSection&) = delete;
    CRITICAL_SECTION* get() { return &m_section; }

private:
    CRITICAL_SECTION m_section;
};

CRITICAL_SECTION* clockLookupSection() {
    static ClockLookupSection section;
    return section.get();
}

void lookUpPreciseClock() {
    CRITICAL_SECTION* section = clockLookupSection();
    EnterCriticalSection(section);
    if (g_clockLookedUp.load(std::memory_order_relaxed) == 0) {
        g_clockLookedUp.store(1, std::memory_order_release);
        if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
            // Through void(*)() so that the compiler accepts the change of signature.
            const auto address =
                reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime"));
            g_preciseClock.store(reinterpret_cast<PreciseClock>(address), std::memory_order_release);
        }
    }
    LeaveCriticalSection(section);
}

SystemTime fromSystemTime(const SYSTEMTIME& time) {
    return SystemTime{time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
                      time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
}

} // namespace

LibraryHandle loadLibrary(const String& path, String& error) {
    Array<WideChar> widePath;
    HMODULE library = LoadLibraryW(path.toUTF16(widePath));
    if (library == nullptr)
        error.format("%lu", static_cast<unsigned long>(GetLastError()));
    return library;
}

void* findSymbol(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

uint32 currentProcessId() {
    return GetCurrentProcessId();
}

uint32 currentThreadId() {
    return GetCurrentThreadId();
}

bool executablePath(String& path, uint32* errorCode) {
    path.clear();
    // GetModuleFileNameW cuts a path that does not fit (and says so with the full buffer): try
    // again with twice the room, up to the longest path the system has.
    Array<WideChar> buffer;
    for (uint32 capacity = 1024; capacity <= kLongestPath; capacity *= 2) {
        if (!buffer.resize(capacity))
            break;
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), capacity);
        if (length == 0) {
            if (errorCode != nullptr)
                *errorCode = GetLastError();
            return false;
        }
        if (length < capacity) {
            buffer[length] = 0;
            path.pushBack(buffer.data());
            return true;
        }
    }
    if (errorCode != nullptr)
        *errorCode = ERROR_INSUFFICIENT_BUFFER;
    return false;
}

std::FILE* openFile(const String& path, const char* mode) {
    // Modes are plain ASCII ("ab", "rb+", ...); longer ones are not modes.
    wchar_t wideMode[8] = {};
    for (std::size_t i = 0; mode[i] != '\0'; ++i) {
        if (i + 1 == sizeof wideMode / sizeof wideMode[0]) {
            errno = EINVAL;
            return nullptr;
        }
        wideMode[i] = static_cast<wchar_t>(static_cast<unsigned char>(mode[i]));
    }
    Array<WideChar> widePath;
    return _wfopen(path.toUTF16(widePath), wideMode);
}

bool isPathSeparator(WideChar character) {
    return character == L'\\' || character == L'/';
}

SystemTime systemTime() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return fromSystemTime(now);
}

uint64 preciseFileTime() {
    if (g_clockLookedUp.load(std::memory_order_acquire) == 0)
        lookUpPreciseClock();
    FILETIME now;
    if (const PreciseClock precise = g_preciseClock.load(std::memory_order_acquire))
        precise(&now);
    else
        GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

SystemTime fileTimeToSystemTime(uint64 fileTime) {
    FILETIME value;
    value.dwLowDateTime = static_cast<DWORD>(fileTime);
    value.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    SYSTEMTIME time;
    if (!FileTimeToSystemTime(&value, &time))
        return SystemTime{};
    return fromSystemTime(time);
}

std::FILE* openCommandOutput(const char* command) {
    return _popen(command, "r");
}

int closeCommandOutput(std::FILE* output) {
    return _pclose(output);
}

uint64 peakResidentKilobytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
               ? counters.PeakWorkingSetSize / 1024
               : 0;
}

bool isTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

int startSockets() {
    WSADATA data;
    return WSAStartup(0x0202, &data);
}

void stopSockets() {
    WSACleanup();
}

// Large pages need a privilege that programs seldom have: the block is small pages, aligned.
void* allocateLargeBlock() {
    return _aligned_malloc(kLargeBlockSize, kLargeBlockSize);
}

void freeLargeBlock(void* block) {
    _aligned_free(block);
}

void adviseLargePages(void*, std::size_t) {}

} // namespace zor::platform
