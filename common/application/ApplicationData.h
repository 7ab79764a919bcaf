#pragma once

#include "common/ReservedSlots.h"
#include "common/compression/CompressionCallbacks.h"
#include "common/containers/HashMap.h"
#include "common/containers/List.h"
#include "common/containers/String.h"
#include "common/object/ObjectTypeKey.h"
#include "common/platform/ReadWriteLock.h"

namespace zor {

class ApplicationData;
class RefCountedData;

/// Creates a fresh, zero-initialised value of a registered variable type.
using VariableAllocator = RefCountedData* (*)();
/// Brings up a host module with the host record; true when the module is ready.
using ModuleInitializeFunction = bool (*)(ApplicationData*);
/// A tear-down function of the host's tear-down list.
using DeinitializeCallback = void (*)();

/// States of a dependency in the host record.
enum DependencyState : uint32 {
    DependencyNotInitialized = 0,
    DependencyInitialized = 1,
    DependencyFailed = 2,
};

/// Record of the core module: its first member creates a host object.
struct CoreRecord {
    IObject* (*m_createObject)();
    ReadWriteLock m_lock;
};

/// Record of the project module; the fourteenth pointer-sized member creates the host's
/// "PhysicsAttribute" objects.
struct ProjectRecord {
    void* m_hostFunctions[13];
    IObject* (*m_createPhysicsAttribute)();
    ReadWriteLock m_lock;
};

/// The host application's record. The host owns it (it outlives the module) and implements the
/// log operations; every binary reaches it through its one global pointer (applicationData()).
/// The framework's 64-bit version: major in bits 40-63, minor in bits 16-39, patch in bits 0-15.
class ApplicationData {
public:
    /// Slot 0: ends the record; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) = 0;
    ZOR_RESERVED_SLOT(1)
    ZOR_RESERVED_SLOT(2)
    ZOR_RESERVED_SLOT(3)
    ZOR_RESERVED_SLOT(4)
    ZOR_RESERVED_SLOT(5)
    ZOR_RESERVED_SLOT(6)
    ZOR_RESERVED_SLOT(7)
    ZOR_RESERVED_SLOT(8)
    ZOR_RESERVED_SLOT(9)
    /// Slot 10: opens the log for the process name under a file base name (name + start time).
    virtual void openLog(const String& processName, const String& fileBaseName) = 0;
    ZOR_RESERVED_SLOT(11)
    /// Slot 12: true when messages that ask for it are also printed on standard output.
    virtual bool isConsoleEchoEnabled() = 0;
    /// Slot 13: writes one or more complete lines.
    virtual void writeLog(const String& text) = 0;

    uint64 m_frameworkVersion = 0;

    int32 m_logLevel = 0;
    String m_lastLogLine;
    String m_lastLogTime;
    uint32 m_logRepeatCount = 0;
    uint8 m_logOpened = 0;
    ReadWriteLock m_logLock;

    String m_librariesDirectory;

    HashMap<String, VariableAllocator> m_variableAllocators;
    ReadWriteLock m_variableAllocatorsLock;

    HashMap<String, ObjectAllocator> m_objectAllocatorsByName;
    HashMap<ObjectTypeKey, ObjectAllocator> m_objectAllocatorsByGUID;
    ReadWriteLock m_objectAllocatorsLock;

    HashMap<String, List<CompressDataCallback>*> m_compressDataCallbacks;
    HashMap<String, List<DecompressDataCallback>*> m_decompressDataCallbacks;
    ReadWriteLock m_compressionLock;

    uint32 m_commonState = DependencyNotInitialized;
    uint32 m_coreState = DependencyNotInitialized;
    uint32 m_geometryState = DependencyNotInitialized;
    uint32 m_projectState = DependencyNotInitialized;

    List<DeinitializeCallback> m_deinitializeCallbacks;

    CoreRecord* m_core = nullptr;
    ProjectRecord* m_project = nullptr;

    ModuleInitializeFunction m_coreInitialize = nullptr;
    ModuleInitializeFunction m_geometryInitialize = nullptr;
    ModuleInitializeFunction m_projectInitialize = nullptr;

protected:
    ApplicationData() = default;
    ~ApplicationData() = default;
};

/// The host record this binary works with: null until the host hands one over.
ApplicationData* applicationData();

/// Makes `record` the binary's one global host record (no ownership change).
void setApplicationData(ApplicationData* record);

} // namespace zor
