#pragma once

#include "common/application/ApplicationData.h"

/// The prepare steps of core, project and geometry (see zor::prepareHostModule).
bool zor_prepareCoreModule(zor::ApplicationData* appData);
bool zor_prepareProjectModule(zor::ApplicationData* appData);
bool zor_prepareGeometryModule(zor::ApplicationData* appData);

namespace zor {

/// A host module the physics module depends on, and where its part of the host record lies.
struct HostModule {
    /// "core", "project" or "geometry", as the log lines name it.
    const char* name;
    /// The framework's file name of the module, found in the libraries directory.
    const char* fileName;
    /// Name of the module's initialize export.
    const char* exportName;
    /// Qualified name under which the prepare step reports.
    const char* prepareFunctionName;
    /// Qualified name under which a missing initialize function is reported.
    const char* initializeFunctionName;
    /// The module's prepare step.
    bool (*prepare)(ApplicationData* appData);
    ModuleInitializeFunction ApplicationData::*initialize;
    uint32 ApplicationData::*state;
};

/// The three host modules, in the order in which they are brought up.
extern const HostModule kCoreModule;
extern const HostModule kProjectModule;
extern const HostModule kGeometryModule;

/// Loads a host module from the libraries directory and stores its initialize export in the
/// record; true at once when the export is already known. A module that cannot be loaded or
/// lacks the export is marked failed (with a warning) and gives false.
bool prepareHostModule(ApplicationData* appData, const HostModule& module);

/// Prepares a host module and brings it up unless its state says it was brought up or failed
/// before; true when the module is ready.
bool initializeHostModule(ApplicationData* appData, const HostModule& module);

} // namespace zor
