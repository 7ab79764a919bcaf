#include "host/core/HostFactory.h"

#include "common/application/ApplicationData.h"
#include "common/object/ObjectFactory.h"

namespace zor::host {

IObject* createObjectByTypeName(const String& typeName) {
    ApplicationData* record = applicationData();
    if (record == nullptr)
        return nullptr;
    ObjectAllocator allocator = nullptr;
    {
        ScopedReadWriteLock lock(record->m_objectAllocatorsLock, ScopedReadWriteLock::Shared);
        const auto& allocators = record->m_objectAllocatorsByName;
        if (const auto found = allocators.find(typeName); found != allocators.end())
            allocator = found->m_second;
    }
    // The allocator runs outside the lock: a constructor may register or create objects itself.
    return allocator != nullptr ? allocator() : nullptr;
}

IObject* createObjectByGuid(const GUID_t& guid, const String& templateTypeName) {
    return zor_createObjectFromGUIDAndTypeName(guid, templateTypeName);
}

void registeredTypeNames(List<String>& out) {
    ApplicationData* record = applicationData();
    if (record == nullptr)
        return;
    ScopedReadWriteLock lock(record->m_objectAllocatorsLock, ScopedReadWriteLock::Shared);
    for (const auto& entry : record->m_objectAllocatorsByName)
        out.pushBack(entry.m_first);
}

} // namespace zor::host
