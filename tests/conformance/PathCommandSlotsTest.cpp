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
#define S(name) ZOR_NAMED_SLOT(C, name)
    const test::NamedSlot slots[] = {S(deletingDestructor), S(create),         S(retain),
                                     S(release),            S(reset),          S(getTypeName),
                                     S(getCommandType),     S(getVariableReference), S(read), S(write)};
#undef S
    test::expectSlotsInOrder(slots);
}

} // namespace
} // namespace zor
