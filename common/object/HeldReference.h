#pragma once

#include "common/object/IObject.h"

namespace zor {

/// Makes `held` hold `object` instead of what it held: the old object is released, the new one
/// retained (a null `object` just clears it). Holding the same object again keeps it alive.
template <typename Object>
void replaceHeldReference(Object*& held, Object* object) {
    if (object != nullptr)
        object->retain();
    if (held != nullptr)
        held->release();
    held = object;
}

/// `object` for a caller that keeps it: with `addReference` the caller gets a reference of its
/// own (null stays null).
template <typename Object>
Object* handOutReference(Object* object, bool addReference) {
    if (addReference && object != nullptr)
        object->retain();
    return object;
}

} // namespace zor
