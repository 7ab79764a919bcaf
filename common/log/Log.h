#pragma once

#include "common/Types.h"

namespace zor {

/// Severity of a log message; smaller is more severe.
enum LogLevel : int32 {
    LogLevelError = 1,
    LogLevelWarn = 2,
    LogLevelInfo = 3,
    LogLevelDebug = 4,
    LogLevelTrace = 5,
};

class ApplicationData;

/// The five-character name written into a line ("WARN " ...), or "NONE" for other values.
const char* logLevelName(int32 level);

/// Sets the record's threshold: the highest level that is logged. Safe while other threads log.
void setLogLevel(ApplicationData& record, int32 level);

/// Opens the record's log under the process name and the start time, as the first message that
/// passes the level filter does; once per record. A host calls it to learn at start-up whether
/// its log can be written.
void openApplicationLog(ApplicationData& record);

/// Logs "assert(<expression>)" at ERROR (echoed to the console) and ends the process with
/// exit code 0.
[[noreturn]] void failAssertion(const char* moduleName, const char* functionName, const char* expression);

/// failAssertion for a function given by its compiler signature (reduced to its qualified name).
[[noreturn]] void failAssertionInFunction(const char* moduleName, const char* functionSignature,
                                          const char* expression);

} // namespace zor

/// The one log call: stamps, filters, folds and hands the line to the host's logger.
void zor_log(const char* moduleName, bool echoToConsole, zor::int32 level, const char* functionName,
             const char* format, ...) ZOR_PRINTF_FORMAT(5, 6);

/// Name of the module a source file reports under; each target defines its own.
#ifndef ZOR_LOG_MODULE
#define ZOR_LOG_MODULE "common"
#endif

/// Checks an internal invariant; a false condition is logged at ERROR with its source text and
/// the process ends with exit code 0.
#define zor_assert(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::zor::failAssertionInFunction(ZOR_LOG_MODULE, __PRETTY_FUNCTION__, #condition);                 \
    } while (false)

/// zor_assert for code whose reported function name is not its own (templates, helpers):
/// the name is given as it appears in the log.
#define zor_assert_in(moduleName, functionName, condition)                                                   \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::zor::failAssertion(moduleName, functionName, #condition);                                      \
    } while (false)
