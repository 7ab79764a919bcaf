#include "host/core/HostObject.h"

#include <atomic>

namespace zor {

uint64 hostobject_detail::nextObjectId() {
    static std::atomic<uint64> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

template class HostObjectOf<IObject>;

} // namespace zor
