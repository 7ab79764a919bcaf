#include "host/path/PathCommandEntry.h"

#include "common/application/CommonModule.h"
#include "common/path/Path2DCommands.h"

#include "support/Held.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor::host {
namespace {

using Lines = std::vector<std::string>;

TEST(PathCommandEntry, AnEntryAnswersWithItsCommandsNameAndReadsAndWritesThroughIt) {
    test::TestApplicationData record;
    ASSERT_TRUE(commonInitialize(&record));
    EXPECT_EQ(PathCommandEntry::create(String("LineToPath2DCommand")), nullptr);

    IObject* entry = PathCommandEntry::create(String("LineToPath2DCommand{double}"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->getTypeName() == "LineToPath2DCommand{double}");

    test::Held<test::RecordingReader> reader;
    reader->set("position.x", "2.5");
    reader->set("position.xAnchor", "RIGHT");
    ASSERT_TRUE(entry->read(reader));
    auto* line = static_cast<LineToPath2DCommand<double>*>(static_cast<PathCommandEntry*>(entry)->command());
    EXPECT_EQ(line->m_position, (ExtVector2<double>{2.5, 0, 1, 0}));

    test::Held<test::RecordingWriter> writer(test::RecordingWriter::Passes::Two);
    ASSERT_TRUE(entry->write(writer, 0, 0));
    EXPECT_EQ(writer->record().linesWithout("isSinglePass"),
              (Lines{"beginNode position", "writeDouble x=2.5 asAttribute=1", "writeDouble y=0 asAttribute=1",
                     "writeEnumeration xAnchor=RIGHT asAttribute=1",
                     "writeEnumeration yAnchor=TOP asAttribute=1", "endNode"}));

    // Anything but a reader or a writer of variables is refused.
    IObject* plain = HostObject::create();
    EXPECT_FALSE(entry->read(plain) || entry->write(plain, 0, 0));
    plain->release();
    entry->release();
    commonDeinitialize();
}

} // namespace
} // namespace zor::host
