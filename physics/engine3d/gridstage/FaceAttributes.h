#pragma once

#include "common/Types.h"
#include "common/framework/GridTile.h"
#include "common/framework/IObjectList.h"
#include "physics/engine3d/gridstage/GridStageCollisions.h"

// The look-up of the attributes of a grid stage's faces.
namespace zor::gridstage {

/// The entry `index` of an attribute list, or null when there is none.
inline IObject* listEntry(IObjectList* list, uint32 index) {
    if (index == kNoGridAttribute || list == nullptr || index >= list->getCount())
        return nullptr;
    return list->getData()[index];
}

/// True when every attribute of the stage is of its class, so that looking one up writes
/// nothing to the log and may be left out.
inline bool holdsOnly(IObjectList* list, const GUID_t& guid) {
    if (list == nullptr)
        return true;
    IObject* const* entries = list->getData();
    for (uint32 i = 0; i < list->getCount(); ++i)
        if (entries[i] != nullptr && !entries[i]->isTypeOf(guid))
            return false;
    return true;
}

/// The attribute `wanted`, looked up unless `lastFound` holds it: a look-up that found nothing
/// (or wrote to the log) is made again. The "none" index finds nothing without asking.
template <typename Attribute, typename LookUp>
Attribute* lookUpAgain(FoundAttribute<Attribute>& lastFound, uint32 wanted, LookUp&& lookUp) {
    if (wanted == kNoGridAttribute)
        return nullptr;
    if (wanted == lastFound.index && lastFound.attribute != nullptr)
        return lastFound.attribute;
    lastFound.index = wanted;
    return lastFound.attribute = lookUp(wanted);
}

} // namespace zor::gridstage
