#include "common/platform/LargeBlock.h"
#include "common/platform/Platform.h"

#include "common/containers/String.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zor::platform {
namespace {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr uint64 kFileTimeUnixEpoch = 116444736000000000ull;

// Far beyond any path the kernel reports for a link (it refuses those longer than a page).
constexpr std::size_t kLongestExecutablePath = std::size_t{1} << 20;

} // namespace

LibraryHandle loadLibrary(const String& path, String& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        // The loader says why in its own words; errno is not reliably its cause.
        const char* reason = dlerror();
        if (reason == nullptr)
            reason = "unknown loader error";
        error.assign(reason, std::strlen(reason));
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
// Initial-exec: the modules are loaded with dlopen, and their thread storage is then taken from
// the static block rather than allocated per thread on first use, which LeakSanitizer (GCC 12)
// cannot scan and crashes on at exit.
thread_local uint32 t_threadId __attribute__((tls_model("initial-exec"))) = 0;

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

bool executablePath(String& path, uint32* errorCode) {
    // The link's length is not known in advance: read it into ever larger buffers until it fits.
    for (std::size_t capacity = 256; capacity <= kLongestExecutablePath; capacity *= 2) {
        path.resize(capacity + 1);
        const ssize_t length = readlink("/proc/self/exe", path.data(), capacity);
        if (length < 0) {
            if (errorCode != nullptr)
                *errorCode = static_cast<uint32>(errno);
            path.clear();
            return false;
        }
        if (static_cast<std::size_t>(length) < capacity) {
            path.resize(static_cast<uint64>(length) + 1);
            path.data()[length] = '\0';
            return true;
        }
    }
    if (errorCode != nullptr)
        *errorCode = ENAMETOOLONG;
    path.clear();
    return false;
}

std::FILE* openFile(const String& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
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

std::FILE* openCommandOutput(const char* command) {
    return popen(command, "r");
}

int closeCommandOutput(std::FILE* output) {
    const int status = pclose(output);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

uint64 peakResidentKilobytes() {
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? uint64(usage.ru_maxrss) : 0;
}

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}

int startSockets() {
    return 0;
}

void stopSockets() {}

void* allocateLargeBlock() {
    void* block = nullptr;
    if (posix_memalign(&block, kLargeBlockSize, kLargeBlockSize) != 0)
        return nullptr;
#ifdef MADV_HUGEPAGE
    // Only advice: where the system gives no huge page, the block is small pages as usual.
    madvise(block, kLargeBlockSize, MADV_HUGEPAGE);
#endif
    return block;
}

void freeLargeBlock(void* block) {
    std::free(block);
}

void adviseLargePages(void* start, std::size_t size) {
#ifdef MADV_HUGEPAGE
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t first = (begin + kLargeBlockSize - 1) & ~(kLargeBlockSize - 1);
    const std::uintptr_t last = (begin + size) & ~(kLargeBlockSize - 1);
    if (first < last)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)start;
    (void)size;
#endif
}

} // namespace zor::platform
