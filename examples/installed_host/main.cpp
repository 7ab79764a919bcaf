// A minimal host: its own host record, the installed physics module loaded from the installed
// modules folder and brought up with physicsInitialize. Log lines go to standard output.

#include "common/application/ApplicationData.h"
#include "common/application/FrameworkVersion.h"
#include "common/application/Libraries.h"
#include "common/log/Log.h"
#include "common/platform/Platform.h"

#include <cstdio>

namespace {

class ConsoleRecord : public zor::ApplicationData {
public:
    ZOR_BLOCK_ALLOCATED

    ConsoleRecord() {
        m_frameworkVersion = zor::makeFrameworkVersion(1, 5, 0);
        m_logLevel = zor::LogLevelInfo;
        m_librariesDirectory = zor::String(ZOR_MODULE_DIR);
    }
    ZOR_DELETING_DESTRUCTOR(ConsoleRecord)

    void openLog(const zor::String&, const zor::String&) override {}
    bool isConsoleEchoEnabled() override { return false; }
    void writeLog(const zor::String& text) override { std::fwrite(text.c_str(), 1, text.length(), stdout); }

    void runDeinitializeCallbacks() {
        for (const zor::DeinitializeCallback callback : m_deinitializeCallbacks)
            callback();
        m_deinitializeCallbacks.clear();
    }

protected:
    ~ConsoleRecord() { zor::releaseCompressionCallbacks(*this); }
};

} // namespace

int main() {
    auto* record = new ConsoleRecord;
    zor::setApplicationData(record);

    zor::String path = record->m_librariesDirectory;
    path.pushBackUTF8String("zor_physics.dll");
    using PhysicsInitialize = bool (*)(zor::ApplicationData*);
    const zor::platform::LibraryHandle module = zor_loadLibrary(path);
    const auto initialize =
        module != nullptr
            ? reinterpret_cast<PhysicsInitialize>(zor::platform::findSymbol(module, "physicsInitialize"))
            : nullptr;
    const bool ready = initialize != nullptr && initialize(record);
    std::printf("physicsInitialize from %s: %s\n", path.c_str(), ready ? "ready" : "not ready");

    record->runDeinitializeCallbacks();
    zor::setApplicationData(nullptr);
    record->deletingDestructor(1);
    return ready ? 0 : 1;
}
