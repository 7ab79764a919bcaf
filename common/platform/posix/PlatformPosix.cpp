#include "common/platform/Platform.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <ctime>
#include <dlfcn.h>
#include <pthread.h>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace zor::platform {
namespace {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr uint64 kFileTimeUnixEpoch = 116444736000000000ull;

std::string utf16ToUtf8(const WideChar* text) {
    std::string out;
    for (; *text != 0; ++text) {
        uint32 code = static_cast<uint16>(*text);
        const uint32 next = static_cast<uint16>(text[1]);
        if (code >= 0xD800 && code < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
            ++text;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

} // namespace

LibraryHandle loadLibrary(const WideChar* path, uint32* errorCode) {
    errno = 0;
    void* handle = dlopen(utf16ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr && errorCode != nullptr) {
        // dlopen reports through dlerror text; errno carries the cause of a failed open.
        *errorCode = errno != 0 ? static_cast<uint32>(errno) : static_cast<uint32>(ENOEXEC);
        dlerror();
    }
    return handle;
}

void* findSymbol(LibraryHandle library, const char* name) {
    return dlsym(library, name);
}

namespace {

// Both identifiers are system calls here (every log line asks for them), so each is read once
// per process and per thread. A forked child starts with the caches empty again.
std::atomic<uint32> g_processId{0};
thread_local uint32 t_threadId = 0;

void forgetIdentifiersInChild() {
    g_processId.store(0, std::memory_order_relaxed);
    t_threadId = 0;
}

void watchForks() {
    static const bool registered = pthread_atfork(nullptr, nullptr, &forgetIdentifiersInChild) == 0;
    (void)registered;
}

} // namespace

uint32 currentProcessId() {
    uint32 id = g_processId.load(std::memory_order_relaxed);
    if (id == 0) {
        watchForks();
        id = static_cast<uint32>(getpid());
        g_processId.store(id, std::memory_order_relaxed);
    }
    return id;
}

uint32 currentThreadId() {
    if (t_threadId == 0) {
        watchForks();
        t_threadId = static_cast<uint32>(syscall(SYS_gettid));
    }
    return t_threadId;
}

uint32 executablePath(WideChar* buffer, uint32 capacity, uint32* errorCode) {
    if (capacity == 0) {
        if (errorCode != nullptr)
            *errorCode = ERANGE;
        return 0;
    }
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        if (errorCode != nullptr)
            *errorCode = static_cast<uint32>(errno);
        return 0;
    }
    // Decode UTF-8 into UTF-16 units, truncating to the buffer as GetModuleFileNameW does; a
    // character is never split, not even a surrogate pair.
    uint32 written = 0;
    for (ssize_t i = 0; i < length;) {
        const auto lead = static_cast<unsigned char>(path[i]);
        uint32 code = lead;
        int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (extra > 0)
            code = lead & (0x3F >> extra);
        ++i;
        for (; extra > 0 && i < length; --extra, ++i)
            code = (code << 6) | (static_cast<unsigned char>(path[i]) & 0x3F);
        const uint32 units = code >= 0x10000 ? 2 : 1;
        if (written + units + 1 > capacity)
            break;
        if (units == 2) {
            buffer[written++] = static_cast<WideChar>(0xD800 + ((code - 0x10000) >> 10));
            buffer[written++] = static_cast<WideChar>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            buffer[written++] = static_cast<WideChar>(code);
        }
    }
    buffer[written] = 0;
    return written;
}

std::FILE* openFile(const WideChar* path, const char* mode) {
    return std::fopen(utf16ToUtf8(path).c_str(), mode);
}

bool isPathSeparator(WideChar character) {
    return character == u'/';
}

SystemTime systemTime() {
    return fileTimeToSystemTime(preciseFileTime());
}

uint64 preciseFileTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return kFileTimeUnixEpoch + static_cast<uint64>(now.tv_sec) * 10000000ull +
           static_cast<uint64>(now.tv_nsec) / 100u;
}

SystemTime fileTimeToSystemTime(uint64 fileTime) {
    // FileTimeToSystemTime refuses values with the sign bit set; its caller then sees zeros.
    if (fileTime >= 0x8000000000000000ull)
        return SystemTime{};
    const uint64 totalSeconds = fileTime / 10000000ull;
    const uint64 secondsOfDay = totalSeconds % 86400u;
    // Days since 1601-01-01 (a Monday), converted to a civil date (proleptic Gregorian).
    const int64 days = static_cast<int64>(totalSeconds / 86400u);
    // 134774 days lie between 1601-01-01 and 1970-01-01; the rest is the days-to-civil
    // algorithm counted from 0000-03-01.
    const int64 z = days - 134774 + 719468;
    const int64 era = (z >= 0 ? z : z - 146096) / 146097;
    const int64 dayOfEra = z - era * 146097;
    const int64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64 monthIndex = (5 * dayOfYear + 2) / 153;
    const int64 day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const int64 month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const int64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    SystemTime time{};
    time.year = static_cast<uint16>(year);
    time.month = static_cast<uint16>(month);
    time.dayOfWeek = static_cast<uint16>((days + 1) % 7); // 1601-01-01 was a Monday (1)
    time.day = static_cast<uint16>(day);
    time.hour = static_cast<uint16>(secondsOfDay / 3600u);
    time.minute = static_cast<uint16>(secondsOfDay / 60u % 60u);
    time.second = static_cast<uint16>(secondsOfDay % 60u);
    time.milliseconds = static_cast<uint16>(fileTime / 10000u % 1000u);
    return time;
}

int startSockets() {
    return 0;
}

void stopSockets() {}

} // namespace zor::platform
