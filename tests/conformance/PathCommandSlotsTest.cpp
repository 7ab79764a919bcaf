// The ten operations of every path command class at their slots.

#include "common/path/Path2DCommands.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

template <typename Command>
class PathCommandSlots : public ::testing::Test {};
using Commands =
    ::testing::Types<Path2DCommand<float>, MoveToPath2DCommand<float>, LineToPath2DCommand<double>,
                     CurveToPath2DCommand<float>, SmoothPath2DCommand<double>,
                     QuadCurveToPath2DCommand<float>, QuadSmoothPath2DCommand<double>,
                     ArcPath2DCommand<float>, ArcPath2DCommand<double>, ClosePath2DCommand<double>>;
TYPED_TEST_SUITE(PathCommandSlots, Commands);

TYPED_TEST(PathCommandSlots, InSlotOrder) {
    using C = TypeParam;
    const test::NamedSlot slots[] = {ZOR_NAMED_SLOT(C, deletingDestructor),
                                     ZOR_NAMED_SLOT(C, create),
                                     ZOR_NAMED_SLOT(C, retain),
                                     ZOR_NAMED_SLOT(C, release),
                                     ZOR_NAMED_SLOT(C, reset),
                                     ZOR_NAMED_SLOT(C, getTypeName),
                                     ZOR_NAMED_SLOT(C, getCommandType),
                                     ZOR_NAMED_SLOT(C, getVariableReference),
                                     ZOR_NAMED_SLOT(C, read),
                                     ZOR_NAMED_SLOT(C, write)};
    test::expectSlotsInOrder(slots);
}

} // namespace
} // namespace zor
