#pragma once

#include "support/VtableSlot.h"

namespace zor::test {

/// Expects the 42 operations of the host object interface at their slots in class C's table:
/// every wrapper and host object keeps them there.
template <typename C>
void expectObjectSlots() {
#define S(name) ZOR_NAMED_SLOT(C, name)
    // clang-format off
    const NamedSlot slots[] = {
        S(deletingDestructor), S(getUserData), S(copy), S(clone), S(reset),
        S(getTypeName), S(getTemplateTypeName), S(getTemplateType), S(getTemplateTypeSize), S(getGUID),
        S(isTypeOf), S(castTo), S(getName), S(setName), S(getParent), S(setParent), S(getFlags), S(setFlags),
        S(handleEvent), S(read), S(write),
        S(getVariableCount), S(getVariableName), S(getVariableType), S(getVariableReference),
        S(getReferenceCount), S(retain), S(release), S(getObjectId),
        S(getChildCount), S(getChild), S(addChild), S(removeChild), S(findChild), S(getRoot),
        S(getWrapper), S(addEventListener), S(removeEventListener), S(notifyEventListeners),
        S(setWrapper), S(setUserData), S(isDescendantOf)
    };
    // clang-format on
#undef S
    expectSlotsInOrder(slots);
}

/// Expects the seven operations of an attribute level's companion at their slots in class C's
/// table.
template <typename C>
void expectAttributeCompanionSlots() {
#define S(name) ZOR_NAMED_SLOT(C, name)
    const NamedSlot slots[] = {S(deletingDestructor), S(resetValues),    S(resetObjects), S(copy_Backwards),
                               S(readVariables),      S(writeVariables), S(destroy)};
#undef S
    expectSlotsInOrder(slots);
}

} // namespace zor::test
