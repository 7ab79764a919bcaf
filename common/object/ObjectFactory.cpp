#include "common/object/ObjectFactory.h"

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "common/object/IObject.h"

namespace zor {

void registerObjectAllocator(ObjectAllocator allocator) {
    IObject* temporary = allocator();
    const String& typeName = temporary->getTypeName();
    ApplicationData* appData = applicationData();
    if (appData == nullptr) {
        zor_log("zor_physics.dll", false, LogLevelWarn, "zor_addObjectAllocator",
                "Application data is NULL, cannot create object from name %s", typeName.c_str());
    } else {
        ScopedReadWriteLock lock(appData->m_objectAllocatorsLock, ScopedReadWriteLock::Exclusive);
        appData->m_objectAllocatorsByName.insertBack(typeName, allocator);
        appData->m_objectAllocatorsByGUID.insertBack(
            ObjectTypeKey{*temporary->getGUID(), temporary->getTemplateTypeName()}, allocator);
    }
    temporary->release();
}

} // namespace zor

using namespace zor;

IObject* zor_createObjectFromGUIDAndTypeName(const GUID_t& guid, const String& templateTypeName) {
    ApplicationData* appData = applicationData();
    if (appData == nullptr) {
        const uint8* b = guid.m_bytes;
        zor_log("common", false, LogLevelWarn, "zor_createObjectFromGUIDAndTypeName",
                "Application data is NULL, cannot create object from GUID "
                "%02hhx%02hhx%02hhx%02hhx-%02hhx%02hhx-%02hhx%02hhx-%02hhx%02hhx-%02hhx%02hhx%02hhx%02hhx%"
                "02hhx%02hhx. "
                "Return NULL",
                b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
                b[15]);
        return nullptr;
    }
    const ObjectTypeKey key{guid, templateTypeName};
    ScopedReadWriteLock lock(appData->m_objectAllocatorsLock, ScopedReadWriteLock::Shared);
    auto it = appData->m_objectAllocatorsByGUID.find(key);
    if (it == appData->m_objectAllocatorsByGUID.end())
        return nullptr;
    zor_assert(it->m_second != NULL);
    IObject* rtnObject = it->m_second();
    zor_assert(rtnObject != NULL);
    return rtnObject;
}

namespace {

// A new host object from the create function that a host module's record keeps under its lock:
// the lock guards only the reading of the function; the call runs outside it. Without a host
// record there is no object (a warning names the object kind); a host record without the
// module's record ends the process (the assertion names the record member).
template <typename Record>
IObject* createHostObject(Record* ApplicationData::*record, IObject* (*Record::*create)(),
                          const char* objectName, const char* recordAssertion) {
    ApplicationData* appData = applicationData();
    if (appData == nullptr) {
        zor_log("common", false, LogLevelWarn, "zor_createObject",
                "Application data is NULL, cannot create object from name %s. Return NULL", objectName);
        return nullptr;
    }
    Record* moduleRecord = appData->*record;
    if (moduleRecord == nullptr)
        failAssertion("common", "zor_createObject", recordAssertion);
    IObject* (*createObject)() = nullptr;
    {
        ScopedReadWriteLock lock(moduleRecord->m_lock, ScopedReadWriteLock::Shared);
        createObject = moduleRecord->*create;
    }
    return createObject != nullptr ? createObject() : nullptr;
}

} // namespace

IObject* zor_createObject() {
    return createHostObject(&ApplicationData::m_core, &CoreRecord::m_createObject, "Object",
                            "appData->m_core != NULL");
}

IObject* zor_createPhysicsAttribute() {
    return createHostObject(&ApplicationData::m_project, &ProjectRecord::m_createPhysicsAttribute,
                            "PhysicsAttribute", "appData->m_project != NULL");
}
