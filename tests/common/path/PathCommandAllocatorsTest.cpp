#include "common/application/CommonModule.h"
#include "common/path/Path2DCommand.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

TEST(PathCommandAllocators, InitializeRegistersEveryCommandClassFloatBeforeDouble) {
    test::TestApplicationData record;
    ASSERT_TRUE(commonInitialize(&record));
    std::vector<std::string> names;
    for (const auto& entry : record.m_variableAllocators) {
        names.push_back(entry.m_first.c_str());
        // Each allocator makes a fresh command of its own name, with one owner.
        RefCountedData* command = entry.m_second();
        const bool isDouble = names.back().find("{double}") != std::string::npos;
        const String& typeName = isDouble ? static_cast<Path2DCommand<double>*>(command)->getTypeName()
                                          : static_cast<Path2DCommand<float>*>(command)->getTypeName();
        EXPECT_TRUE(typeName == entry.m_first) << entry.m_first.c_str();
        EXPECT_EQ(command->referenceCount(), 0u);
        command->release();
    }
    std::vector<std::string> expected;
    for (const char* base : {"Path2DCommand", "MoveToPath2DCommand", "LineToPath2DCommand",
                             "CurveToPath2DCommand", "SmoothPath2DCommand", "QuadCurveToPath2DCommand",
                             "QuadSmoothPath2DCommand", "ArcPath2DCommand", "ClosePath2DCommand"})
        for (const char* type : {"{float}", "{double}"})
            expected.push_back(std::string(base) + type);
    EXPECT_EQ(names, expected);
    commonDeinitialize();
}

} // namespace
} // namespace zor
