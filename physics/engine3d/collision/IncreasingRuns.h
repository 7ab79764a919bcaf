#pragma once

#include "common/containers/Array.h"

#include <algorithm>
#include <cstdint>

namespace zor {

/// Tells a list of pointers distinct, and finds a pointer in it, without a hash set when the list
/// is a few runs that each increase in small steps and lie apart from each other. Objects a host
/// makes one after another from blocks of memory give such a list, one run per block, whatever
/// the order of the blocks; a set over a million pointers is tens of megabytes, where each
/// insertion and each look-up waits on memory.
class IncreasingRuns {
public:
    IncreasingRuns() { m_runs.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo); }

    /// True when the pointers `of(items[i])` of the first `count` items (none null) form at most
    /// count / 16 + 16 runs, each increasing by steps of at most kLongestStep bytes, whose ranges
    /// do not overlap: then they are distinct. False otherwise, when they may be distinct all the
    /// same. Kept for contains.
    template <typename Item, typename Of>
    bool distinct(const Item* items, uint64 count, Of&& of) {
        m_runs.resize(0);
        const uint64 mostRuns = count / 16 + 16;
        for (uint64 i = 0; i < count;) {
            const uint64 first = i;
            std::uintptr_t high = address(of(items[i]));
            for (++i; i < count; ++i) {
                const std::uintptr_t next = address(of(items[i]));
                if (next <= high || next - high > kLongestStep)
                    break;
                high = next;
            }
            if (m_runs.size() == mostRuns)
                return false;
            m_runs.Array<Run>::pushBack({address(of(items[first])), high, first, i});
        }
        std::sort(m_runs.begin(), m_runs.end(), [](const Run& a, const Run& b) { return a.low < b.low; });
        for (uint64 r = 1; r < m_runs.size(); ++r)
            if (m_runs[r].low <= m_runs[r - 1].high)
                return false;
        return true;
    }

    /// True when `pointer` is one of the items' pointers, for the items of the last call of
    /// distinct, which found them distinct.
    template <typename Item, typename Of>
    bool contains(const Item* items, const void* pointer, Of&& of) const {
        const std::uintptr_t wanted = address(pointer);
        const Run* run = std::lower_bound(m_runs.begin(), m_runs.end(), wanted,
                                          [](const Run& r, std::uintptr_t value) { return r.high < value; });
        if (run == m_runs.end() || run->low > wanted)
            return false;
        const Item* found = std::lower_bound(
            items + run->first, items + run->end, wanted,
            [&of](const Item& item, std::uintptr_t value) { return address(of(item)) < value; });
        return found != items + run->end && address(of(*found)) == wanted;
    }

    /// The longest step within a run: a longer one leaves a block (the next one may lie anywhere,
    /// and a run over both would span the blocks between).
    static constexpr std::uintptr_t kLongestStep = std::uintptr_t{64} << 10;

private:
    /// A run: its lowest and highest pointer, and its items [first, end).
    struct Run {
        std::uintptr_t low;
        std::uintptr_t high;
        uint64 first;
        uint64 end;
    };
    static std::uintptr_t address(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

    Array<Run> m_runs;
};

} // namespace zor
