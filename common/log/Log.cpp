#include "common/log/Log.h"
#include "common/log/FormatPrintf.h"
#include "common/log/QualifiedFunctionName.h"

#include "common/application/ApplicationData.h"
#include "common/application/ProcessName.h"
#include "common/platform/Platform.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zor {
namespace {

// Timestamp texts are at most 26 bytes; 64 leaves room for any calendar value.
constexpr std::size_t kTimeTextCapacity = 64;

} // namespace

const char* logLevelName(int32 level) {
    switch (level) {
    case LogLevelError:
        return "ERROR";
    case LogLevelWarn:
        return "WARN ";
    case LogLevelInfo:
        return "INFO ";
    case LogLevelDebug:
        return "DEBUG";
    case LogLevelTrace:
        return "TRACE";
    default:
        return "NONE";
    }
}

void setLogLevel(ApplicationData& record, int32 level) {
    std::atomic_ref<int32>(record.m_logLevel).store(level, std::memory_order_relaxed);
}

void openApplicationLog(ApplicationData& record) {
    ScopedReadWriteLock guard(record.m_logLock, ScopedReadWriteLock::Exclusive);
    if (record.m_logOpened != 0)
        return;
    String processName;
    if (!zor_getCurrentProcessName(processName))
        processName.assign("Unknown", 7);
    const platform::SystemTime now = platform::systemTime();
    char suffix[kTimeTextCapacity];
    std::snprintf(suffix, sizeof suffix, "_%04u-%02u-%02u_%02u%02u%02u%03u", unsigned{now.year},
                  unsigned{now.month}, unsigned{now.day}, unsigned{now.hour}, unsigned{now.minute},
                  unsigned{now.second}, unsigned{now.milliseconds});
    String fileBaseName(processName);
    fileBaseName.pushBackUTF8String(suffix);
    record.openLog(processName, fileBaseName);
    record.m_logOpened = 1;
}

void failAssertion(const char* moduleName, const char* functionName, const char* expression) {
    zor_log(moduleName, true, LogLevelError, functionName, "assert(%s)", expression);
    std::exit(0);
}

void failAssertionInFunction(const char* moduleName, const char* functionSignature, const char* expression) {
    char name[512];
    qualifiedFunctionName(functionSignature, name, sizeof name);
    failAssertion(moduleName, name, expression);
}

namespace {

/// printf output kept on the stack when it fits, else in a memory block of its own. A format
/// that cannot be applied gives the empty text.
template <std::size_t StackCapacity>
class PrintfText {
public:
    PrintfText(const char* format, std::va_list arguments) { formatArguments(format, arguments); }
    PrintfText(const char* format, ...) ZOR_PRINTF_FORMAT(2, 3) {
        std::va_list arguments;
        va_start(arguments, format);
        formatArguments(format, arguments);
        va_end(arguments);
    }
    ~PrintfText() { freeMemoryBlock(m_block); }
    PrintfText(const PrintfText&) = delete;
    PrintfText& operator=(const PrintfText&) = delete;

    const char* data() const { return m_block != nullptr ? m_block : m_stack; }
    std::size_t length() const { return m_length; }

private:
    void formatArguments(const char* format, std::va_list arguments) {
        m_stack[0] = '\0';
        if (format == nullptr)
            return;
        std::va_list measuring;
        va_copy(measuring, arguments);
        const int measured = formatPrintf(m_stack, StackCapacity, format, measuring);
        va_end(measuring);
        if (measured < 0) {
            m_stack[0] = '\0';
            return;
        }
        const auto length = static_cast<std::size_t>(measured);
        if (length >= StackCapacity) {
            m_block = static_cast<char*>(allocateMemoryBlock(length + 1));
            if (formatPrintf(m_block, length + 1, format, arguments) != measured) {
                freeMemoryBlock(m_block);
                m_block = nullptr;
                m_stack[0] = '\0';
                return;
            }
        }
        m_length = length;
    }

    char m_stack[StackCapacity];
    char* m_block = nullptr;
    std::size_t m_length = 0;
};

// printf prints "(null)" for a null text on both C libraries we run on; this keeps it defined.
const char* textOrNull(const char* text) {
    return text != nullptr ? text : "(null)";
}

/// The console form of a message: "<level name>: <message>\n" on standard output.
void printConsoleLine(const char* levelName, const char* message, std::size_t length) {
    std::printf("%s: ", levelName);
    std::fwrite(message, 1, length, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

/// The message's timestamp, "YYYY-MM-DD hh:mm:ss.uuuuuu" in UTC; returns its length.
std::size_t formatTimestamp(char (&text)[kTimeTextCapacity]) {
    const uint64 fileTime = platform::preciseFileTime();
    const platform::SystemTime time = platform::fileTimeToSystemTime(fileTime);
    const int length =
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%06u", unsigned{time.year},
                      unsigned{time.month}, unsigned{time.day}, unsigned{time.hour}, unsigned{time.minute},
                      unsigned{time.second}, static_cast<unsigned>(fileTime / 10 % 1000000));
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

/// Folds `text` ("<timestamp> <line>") into the record's repeat state. Returns false when the
/// line repeats the last one and is held back; otherwise `text` is what the log receives,
/// preceded by the notice of held-back repetitions when there were more than two.
bool foldRepeats(ApplicationData& record, String& text, const char* time, std::size_t timeLength) {
    const char* line = text.c_str() + timeLength + 1;
    const std::size_t lineLength = text.length() - timeLength - 1;
    ScopedReadWriteLock guard(record.m_logLock, ScopedReadWriteLock::Exclusive);
    String& lastLine = record.m_lastLogLine;
    const bool repeated =
        lastLine.length() == lineLength && std::memcmp(lastLine.c_str(), line, lineLength) == 0;
    if (repeated) {
        ++record.m_logRepeatCount;
    } else {
        String withNotice;
        if (record.m_logRepeatCount > 2) {
            // The last repetition is written once more under its own time after the notice.
            withNotice.format("%s ... repeated %u times\r\n", record.m_lastLogTime.c_str(),
                              record.m_logRepeatCount - 2);
            withNotice.pushBack(record.m_lastLogTime);
            withNotice.pushBackUTF8SubString(" ", 1);
            withNotice.pushBack(lastLine);
            withNotice.pushBack(text);
        }
        lastLine.assign(line, lineLength);
        record.m_logRepeatCount = 0;
        if (!withNotice.isEmpty())
            text = static_cast<String&&>(withNotice);
    }
    record.m_lastLogTime.assign(time, timeLength);
    return !repeated;
}

} // namespace
} // namespace zor

void zor_log(const char* moduleName, bool echoToConsole, zor::int32 level, const char* functionName,
             const char* format, ...) {
    using namespace zor;
    const char* levelName = logLevelName(level);
    ApplicationData* record = applicationData();
    if (record == nullptr) {
        // Before the host hands over its record the message goes to standard output alone.
        va_list arguments;
        va_start(arguments, format);
        const PrintfText<256> message(format, arguments);
        va_end(arguments);
        printConsoleLine(levelName, message.data(), message.length());
        return;
    }
    // The threshold is read without the log lock: any thread may change it while others log.
    if (level > std::atomic_ref<int32>(record->m_logLevel).load(std::memory_order_relaxed))
        return;

    openApplicationLog(*record);
    const uint32 processId = platform::currentProcessId();
    const uint32 threadId = platform::currentThreadId();
    char time[kTimeTextCapacity];
    const std::size_t timeLength = formatTimestamp(time);

    va_list arguments;
    va_start(arguments, format);
    const PrintfText<256> message(format, arguments);
    va_end(arguments);
    if (echoToConsole && record->isConsoleEchoEnabled())
        printConsoleLine(levelName, message.data(), message.length());

    // Identifiers print as the signed numbers the line format names.
    const PrintfText<256> header("[%6d:%-6d] %s %s %s - ", static_cast<int32>(processId),
                                 static_cast<int32>(threadId), levelName, textOrNull(moduleName),
                                 textOrNull(functionName));

    // The text is "<timestamp> <line>"; the line part is what repeats are compared by.
    const std::size_t textLength = timeLength + 1 + header.length() + message.length() + 2;
    String text;
    text.resize(textLength + 1);
    char* out = text.data();
    std::memcpy(out, time, timeLength);
    out += timeLength;
    *out++ = ' ';
    std::memcpy(out, header.data(), header.length());
    out += header.length();
    std::memcpy(out, message.data(), message.length());
    out += message.length();
    *out++ = '\r';
    *out++ = '\n';
    *out = '\0';

    if (foldRepeats(*record, text, time, timeLength))
        record->writeLog(text);
}
