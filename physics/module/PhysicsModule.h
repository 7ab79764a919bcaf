#pragma once

#include "common/application/ApplicationData.h"
#include "common/application/FrameworkVersion.h"
#include "common/platform/Export.h"

namespace zor {

/// The framework version the module is built for, 1.5.0.
inline constexpr uint64 kModuleFrameworkVersion = makeFrameworkVersion(1, 5, 0);

/// True when a host's framework version has the module's major and minor version; the patch
/// level does not matter.
constexpr bool isCompatibleFrameworkVersion(uint64 version) {
    return frameworkVersionMajor(version) == frameworkVersionMajor(kModuleFrameworkVersion) &&
           frameworkVersionMinor(version) == frameworkVersionMinor(kModuleFrameworkVersion);
}

extern "C" {

/// The module's entry point, called once by the host with its record: checks the framework
/// version, adopts the record, brings up common, core, project and geometry in this order,
/// registers the module's object classes and puts physicsDeinitialize at the front of the
/// host's tear-down list. False (with a warning) when anything refuses.
ZOR_EXPORT bool physicsInitialize(ApplicationData* appData);

} // extern "C"

/// The module's tear-down callback; the module holds nothing that needs releasing.
void physicsDeinitialize();

} // namespace zor
