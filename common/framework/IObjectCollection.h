#pragma once

#include "common/ReservedSlots.h"
#include "common/object/IObject.h"

namespace zor {

class IObjectCollection;

/// One link of a host collection: the item first, the next link third.
struct CollectionNode {
    IObject* item;
    CollectionNode* previous;
    CollectionNode* next;
};

/// A position in a host collection, three words that the collection writes into a buffer the
/// caller supplies. Two positions are equal when all three words are.
struct CollectionIterator {
    IObjectCollection* collection;
    CollectionNode* current;
    CollectionNode* previous;

    bool operator==(const CollectionIterator&) const = default;

    /// The item at this position.
    IObject* operator*() const { return current->item; }
    /// Steps to the next link.
    CollectionIterator& operator++() {
        previous = current;
        current = current->next;
        return *this;
    }
};

static_assert(sizeof(CollectionIterator) == 24 && sizeof(CollectionNode) == 24);

/// A host collection of objects (a scene's elements, its grid stages), walked from its begin
/// position to its end position. The writable and read-only walks have slots of their own.
class IObjectCollection : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    /// Slot 43: writes the first position into `out` and returns it.
    virtual CollectionIterator* begin(CollectionIterator* out) = 0;
    /// Slot 44: begin, for a walk that changes nothing.
    virtual CollectionIterator* beginConst(CollectionIterator* out) const = 0;
    /// Slot 45: writes the position after the last item into `out` and returns it.
    virtual CollectionIterator* end(CollectionIterator* out) = 0;
    /// Slot 46: end, for a walk that changes nothing.
    virtual CollectionIterator* endConst(CollectionIterator* out) const = 0;

protected:
    ~IObjectCollection() = default;
};

} // namespace zor
