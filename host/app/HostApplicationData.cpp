#include "host/app/HostApplicationData.h"

#include "common/compression/CompressionCallbacks.h"
#include "common/platform/Platform.h"

#include <cerrno>
#include <cstring>

namespace zor {

HostApplicationData::HostApplicationData(const Settings& settings)
    : m_consoleEcho(settings.consoleEcho), m_logDirectory(settings.logDirectory) {
    m_frameworkVersion = settings.frameworkVersion;
    m_logLevel = settings.logLevel;
    m_librariesDirectory = settings.librariesDirectory;
}

HostApplicationData::~HostApplicationData() {
    releaseCompressionCallbacks(*this);
    if (m_logFile != nullptr)
        std::fclose(m_logFile);
}

void HostApplicationData::openLog(const String& /*processName*/, const String& fileBaseName) {
    if (m_logFile != nullptr)
        return;
    m_logFilePath = m_logDirectory;
    m_logFilePath.pushBack(fileBaseName);
    m_logFilePath.pushBackUTF8String(".log");
    // Binary mode: the lines carry their own "\r\n".
    m_logFile = platform::openFile(m_logFilePath, "ab");
    if (m_logFile == nullptr) {
        const char* reason = std::strerror(errno);
        m_logError.assign(reason, std::strlen(reason));
    }
}

bool HostApplicationData::isConsoleEchoEnabled() {
    return m_consoleEcho;
}

void HostApplicationData::writeLog(const String& text) {
    if (m_logFile == nullptr)
        return;
    std::fwrite(text.c_str(), 1, text.length(), m_logFile);
    std::fflush(m_logFile);
}

void HostApplicationData::runDeinitializeCallbacks() {
    for (const DeinitializeCallback callback : m_deinitializeCallbacks)
        callback();
    m_deinitializeCallbacks.clear();
}

} // namespace zor
