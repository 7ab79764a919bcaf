#pragma once

#include "common/application/Libraries.h"
#include "common/platform/Platform.h"
#include "host/app/HostApplicationData.h"

#include <cstdlib>
#include <string>

namespace zor::test {

/// The folder of the test programs and the modules (ZOR_TEST_BIN_DIR, or the current folder).
inline std::string binDirectory() {
    return std::getenv("ZOR_TEST_BIN_DIR") != nullptr ? std::getenv("ZOR_TEST_BIN_DIR") : ".";
}

/// Loads zor_physics.dll beside the reference host's modules and starts it with a new record of
/// the host's, which becomes the test program's record too. The
/// module keeps the record (it ends it when it adopts another), so the caller never frees it.
/// Returns the record when the module is ready, else null.
inline HostApplicationData* startLoadedPhysicsModule() {
    HostApplicationData::Settings settings;
    settings.librariesDirectory = (binDirectory() + "/").c_str();
    settings.logLevel = LogLevelWarn;
    auto* record = new HostApplicationData(settings);
    setApplicationData(record);
    String path(settings.librariesDirectory);
    path.pushBackUTF8String("zor_physics.dll");
    platform::LibraryHandle module = zor_loadLibrary(path);
    auto physicsInitialize =
        module != nullptr
            ? reinterpret_cast<bool (*)(ApplicationData*)>(platform::findSymbol(module, "physicsInitialize"))
            : nullptr;
    return physicsInitialize != nullptr && physicsInitialize(record) ? record : nullptr;
}

} // namespace zor::test
