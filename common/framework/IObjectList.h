#pragma once

#include "common/ReservedSlots.h"
#include "common/object/IObject.h"

namespace zor {

/// A host list of object pointers (a grid stage's collision or rigid-body attributes): a count
/// and a contiguous array of pointers, entries possibly null.
class IObjectList : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    ZOR_RESERVED_SLOT(45)
    ZOR_RESERVED_SLOT(46)
    /// Slot 47: the first of `getCount()` entries.
    virtual IObject* const* getData() const = 0;
    /// Slot 48.
    virtual uint32 getCount() const = 0;

protected:
    ~IObjectList() = default;
};

} // namespace zor
