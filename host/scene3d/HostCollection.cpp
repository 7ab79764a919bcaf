#include "host/scene3d/HostCollection.h"

namespace zor {

HostCollection::~HostCollection() {
    for (CollectionNode* node = m_first; node != nullptr; node = node->next)
        if (node->item != nullptr)
            node->item->release();
}

void HostCollection::pushBack(IObject* item) {
    if (m_size % kBlockLinks == 0)
        m_blocks.push_back(std::make_unique<CollectionNode[]>(kBlockLinks));
    CollectionNode* node = &m_blocks.back()[m_size % kBlockLinks];
    *node = CollectionNode{item != nullptr ? item->retain() : nullptr, m_last, nullptr};
    if (m_last != nullptr)
        m_last->next = node;
    else
        m_first = node;
    m_last = node;
    ++m_size;
}

// The end position is the one a walk reaches after the last item: no current link, the last
// one as previous.
CollectionIterator* HostCollection::begin(CollectionIterator* out) {
    *out = CollectionIterator{this, m_first, nullptr};
    return out;
}

CollectionIterator* HostCollection::beginConst(CollectionIterator* out) const {
    return const_cast<HostCollection*>(this)->begin(out);
}

CollectionIterator* HostCollection::end(CollectionIterator* out) {
    *out = CollectionIterator{this, nullptr, m_last};
    return out;
}

CollectionIterator* HostCollection::endConst(CollectionIterator* out) const {
    return const_cast<HostCollection*>(this)->end(out);
}

} // namespace zor
