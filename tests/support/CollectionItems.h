#pragma once

#include "common/framework/IObjectCollection.h"

#include <vector>

namespace zor::test {

/// The items of a collection, in walking order.
template <typename Item = IObject>
std::vector<Item*> itemsOf(IObjectCollection& collection) {
    std::vector<Item*> items;
    CollectionIterator it;
    CollectionIterator end;
    for (collection.begin(&it), collection.end(&end); !(it == end); ++it)
        items.push_back(static_cast<Item*>(*it));
    return items;
}

} // namespace zor::test
