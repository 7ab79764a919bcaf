#pragma once

#include "common/framework/IObjectCollection.h"
#include "host/core/HostObject.h"

#include <memory>
#include <vector>

namespace zor {

/// The host's collection of objects: a linked list that holds a reference on each item. Its
/// links lie in blocks, one after another in the order of the items, so that a walk reads them
/// as one run instead of one allocation each.
class HostCollection : public HostObjectOf<IObjectCollection> {
public:
    HostCollection() = default;
    ZOR_DELETING_DESTRUCTOR(HostCollection)

    /// Appends `item` and takes a reference on it. A null item stands for a broken host, which
    /// the engines must notice.
    void pushBack(IObject* item);
    /// The number of items.
    uint64 size() const { return m_size; }

    CollectionIterator* begin(CollectionIterator* out) override;
    CollectionIterator* beginConst(CollectionIterator* out) const override;
    CollectionIterator* end(CollectionIterator* out) override;
    CollectionIterator* endConst(CollectionIterator* out) const override;

protected:
    /// Releases every item.
    ~HostCollection();

private:
    /// Links per block: a block is a few pages.
    static constexpr uint64 kBlockLinks = 512;

    std::vector<std::unique_ptr<CollectionNode[]>> m_blocks;
    CollectionNode* m_first = nullptr;
    CollectionNode* m_last = nullptr;
    uint64 m_size = 0;
};

} // namespace zor
