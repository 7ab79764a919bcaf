#include "common/application/CommonModule.h"
#include "common/path/Path2DCommand.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

TEST(PathCommandAllocators, InitializeRegistersEveryCommandClassFloatBeforeDoubleWithItsCommandType) {
    test::TestApplicationData record;
    ASSERT_TRUE(commonInitialize(&record));
    std::vector<std::string> names;
    std::vector<int> commandTypes;
    for (const auto& entry : record.m_variableAllocators) {
        names.push_back(entry.m_first.c_str());
        // Each allocator makes a fresh command of its own name, with one owner.
        RefCountedData* command = entry.m_second();
        const bool isDouble = names.back().find("{double}") != std::string::npos;
        const String& typeName = isDouble ? static_cast<Path2DCommand<double>*>(command)->getTypeName()
                                          : static_cast<Path2DCommand<float>*>(command)->getTypeName();
        commandTypes.push_back(isDouble ? static_cast<Path2DCommand<double>*>(command)->getCommandType()
                                        : static_cast<Path2DCommand<float>*>(command)->getCommandType());
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
    EXPECT_EQ(commandTypes, (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 255, 255}));
    commonDeinitialize();
}

} // namespace
} // namespace zor
