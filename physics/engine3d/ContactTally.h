#pragma once

#include "common/Types.h"

namespace zor {

/// The contacts a collision stage's detector reported, and the deepest of them.
template <typename T>
struct ContactTally {
    uint64 count = 0;
    /// 0 while no contact is deeper.
    T deepest = 0;

    void add(T depth) {
        ++count;
        if (depth > deepest)
            deepest = depth;
    }
    void add(const ContactTally& other) {
        count += other.count;
        if (other.deepest > deepest)
            deepest = other.deepest;
    }
};

} // namespace zor
