// The pair grid's lists against every pair, where the grid is most likely to miss one: boxes that
// just touch, boxes as wide as the grid files by their low corner next to narrow ones, mixed
// widths and clusters too far apart for a bucket per cell.

#include "physics/engine3d/broadphase/PairGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace zor {
namespace {

WidenedBox boxAt(double x, double y, double z, double width) {
    return {{x, y, z}, {x + width, y + width, z + width}};
}

// The later boxes that overlap box `i`.
std::vector<uint32> overlapping(const std::vector<WidenedBox>& boxes, uint64 i) {
    std::vector<uint32> found;
    for (uint64 j = i + 1; j < boxes.size(); ++j)
        if (overlaps(boxes[i], boxes[j]))
            found.push_back(uint32(j));
    return found;
}

// A lattice of boxes `width` wide, each box's low corner at its neighbour's high corner on every
// axis (touching faces, edges and corners): rounding puts low corners on either side of a cell's
// edge.
std::vector<WidenedBox> touching(double width, double offset) {
    double at[8] = {offset};
    for (int k = 1; k < 8; ++k)
        at[k] = at[k - 1] + width;
    std::vector<WidenedBox> boxes;
    for (const double x : at)
        for (const double y : at)
            for (const double z : at)
                boxes.push_back({{x, y, z}, {x + width, y + width, z + width}});
    return boxes;
}

// Boxes just under the large limit (four median widths), each touching a narrow box above it on
// one axis: the narrow box's low corner lies a whole reach above the wide one's.
std::vector<WidenedBox> widestUnderNarrow(std::mt19937& random) {
    std::uniform_real_distribution<double> place(0, 12);
    std::vector<WidenedBox> boxes;
    for (int i = 0; i < 150; ++i) {
        double corner[3];
        for (double& value : corner)
            value = std::round(16 * place(random)) / 16;
        boxes.push_back(boxAt(corner[0], corner[1], corner[2], 1));
        if (i % 3 == 0) {
            corner[i % 9 / 3] -= 3.75;
            boxes.push_back(boxAt(corner[0], corner[1], corner[2], 3.75));
        }
    }
    return boxes;
}

// Widths from a tenth of the median to past the large limit, crowded.
std::vector<WidenedBox> mixedWidths(std::mt19937& random) {
    std::uniform_real_distribution<double> place(0, 6), width(0.1, 1.2);
    std::vector<WidenedBox> boxes;
    for (int i = 0; i < 300; ++i)
        boxes.push_back(boxAt(place(random), place(random), place(random),
                              i % 25 == 0 ? 5 * width(random) : width(random)));
    return boxes;
}

// Two clusters far apart: too many cells for a bucket each.
std::vector<WidenedBox> farClusters(std::mt19937& random) {
    std::uniform_real_distribution<double> place(0, 4);
    std::vector<WidenedBox> boxes;
    for (int i = 0; i < 200; ++i) {
        const double far = i % 2 == 0 ? 0 : 3000;
        boxes.push_back(boxAt(far + place(random), place(random), far + place(random), 1));
    }
    return boxes;
}

TEST(PairGrid, ListsHoldEveryLaterOverlappingBox) {
    struct Layout {
        const char* name;
        std::vector<WidenedBox> boxes;
    };
    std::mt19937 random(3);
    const Layout layouts[] = {
        {"touching 0.1 wide", touching(0.1, 0.3)},
        {"touching 0.7 wide", touching(0.7, -5.1)},
        {"widest under narrow", widestUnderNarrow(random)},
        {"mixed widths", mixedWidths(random)},
        {"far clusters", farClusters(random)},
    };
    for (const Layout& layout : layouts) {
        const std::vector<WidenedBox>& boxes = layout.boxes;
        const std::vector<WidenedBall> balls(boxes.size(), WidenedBall{{0, 0, 0}, -1});
        const std::vector<uint8> active(boxes.size(), 1);
        PairGrid grid;
        grid.build(boxes.data(), balls.data(), active.data(), boxes.size());
        Array<uint32> gathered;
        for (uint64 i = 0; i < boxes.size(); ++i) {
            if (grid.isLarge(i))
                continue;
            const uint32 *first, *last;
            std::vector<uint32> found;
            if (grid.listed(i, first, last)) {
                found.assign(first, last);
            } else {
                grid.gather(boxes[i], i, gathered);
                found.assign(gathered.begin(), gathered.end());
            }
            ASSERT_EQ(found, overlapping(boxes, i)) << layout.name << ", box " << i;
        }
    }
}

} // namespace
} // namespace zor
