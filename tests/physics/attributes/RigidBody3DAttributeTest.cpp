#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/attributes/RestitutionCombine.h"

#include "common/containers/String.h"
#include "physics/attributes/AttributeMembers.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zor::test {
namespace {

template <typename T>
class RigidBody3DAttributeTest : public AttributeTest {
protected:
    using Attribute = RigidBody3DAttribute<T>;
    static constexpr bool kFloat = std::is_same_v<T, float>;
    /// The reader and writer operations of T's members: "Float" or "Double".
    static std::string real() { return kFloat ? "Float" : "Double"; }
};

using NumberTypes = ::testing::Types<float, double>;
TYPED_TEST_SUITE(RigidBody3DAttributeTest, NumberTypes);

TYPED_TEST(RigidBody3DAttributeTest, SpeedLimitsScaleTheLinearMembersDownToTheirMaxima) {
    using T = TypeParam;
    struct Case {
        T maximum;
        Vector3<T> vector;
        Vector3<T> limited;
    };
    const Vector3<T> v{3, 0, 4}; // length 5
    const Case cases[] = {
        {2, v, {T(1.2), 0, T(1.6)}},
        {T(2.5), {0, -5, 0}, {0, T(-2.5), 0}},
        {5, v, v},  // not longer than the maximum
        {10, v, v}, // shorter
        {0, v, v},  // no limit
        {-1, v, v}, // no limit either
        {1, {}, {}},
    };
    for (const Case& c : cases) {
        auto a = make<typename TestFixture::Attribute>();
        a->setLinearSpeed(c.vector);
        a->setMaxLinearSpeed(c.maximum);
        a->setLinearAcceleration(c.vector);
        a->setMaxLinearAcceleration(c.maximum);
        a->setAngularSpeed(c.vector);
        a->setAngularAcceleration(c.vector);
        a->applySpeedLimits();
        const std::string where = "maximum " + std::to_string(c.maximum) + " of " + text(c.vector);
        EXPECT_EQ(a->getLinearSpeed(), c.limited) << where;
        EXPECT_EQ(a->getLinearAcceleration(), c.limited) << where;
        EXPECT_EQ(a->getAngularSpeed(), c.vector) << "angular members are never limited";
        EXPECT_EQ(a->getAngularAcceleration(), c.vector);
    }
}

// A reader holding every variable of the class, the host level's too.
void giveEveryVariable(RecordingReader& reader) {
    // clang-format off
    const std::pair<const char*, const char*> values[] = {
        {"name", "wheel"}, {"enabled", "0"}, {"linearSpeed.x", "1"}, {"linearSpeed.y", "2"}, {"linearSpeed.z", "3"},
        {"maxLinearSpeed", "4"}, {"linearAcceleration.x", "5"}, {"linearAcceleration.y", "6"},
        {"linearAcceleration.z", "7"}, {"maxLinearAcceleration", "8"}, {"angularSpeed.x", "9"},
        {"angularSpeed.y", "10"}, {"angularSpeed.z", "11"}, {"angularAcceleration.x", "12"},
        {"angularAcceleration.y", "13"}, {"angularAcceleration.z", "14"}, {"mass", "-2.5"}, {"infiniteMass", "1"},
        {"immovable", "1"}, {"restitutionFactor", "0.5"}, {"restitutionCombine", "AVERAGE"},
        {"frictionCoefficient", "0.25"}, {"additionalFriction", "0.125"}, {"xLock", "1"}, {"yLock", "1"},
        {"zLock", "1"}, {"hLoop", "1"}, {"vLoop", "1"}, {"exclusionGroup", "7"}};
    // clang-format on
    for (const auto& [path, value] : values)
        reader.set(path, value);
}

// The lines of reading every variable that `giveEveryVariable` gives: the host level's, then the
// class's in member order, each vector a node. `real` is "Float" or "Double".
std::vector<std::string> readLines(const std::string& real) {
    const std::string read = "read" + real;
    const auto node = [&](const std::string& name, int x, int y, int z) {
        return std::vector<std::string>{"enterNode " + name, read + " x=" + std::to_string(x),
                                        read + " y=" + std::to_string(y), read + " z=" + std::to_string(z),
                                        "leaveNode"};
    };
    std::vector<std::string> lines = {"readString name=wheel", "readBool enabled=0"};
    for (const auto& more : {node("linearSpeed", 1, 2, 3),
                             {read + " maxLinearSpeed=4"},
                             node("linearAcceleration", 5, 6, 7),
                             {read + " maxLinearAcceleration=8"},
                             node("angularSpeed", 9, 10, 11),
                             node("angularAcceleration", 12, 13, 14),
                             {read + " mass=-2.5", "readBool infiniteMass=1", "readBool immovable=1",
                              read + " restitutionFactor=0.5", "readEnumeration restitutionCombine=AVERAGE",
                              read + " frictionCoefficient=0.25", read + " additionalFriction=0.125",
                              "readBool xLock=1", "readBool yLock=1", "readBool zLock=1", "readBool hLoop=1",
                              "readBool vLoop=1", "readUInt32 exclusionGroup=7"}})
        lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

TYPED_TEST(RigidBody3DAttributeTest, ReadsTheHostLevelThenItsVariablesInMemberOrder) {
    auto reader = make<RecordingReader>();
    giveEveryVariable(*reader);
    auto a = make<typename TestFixture::Attribute>();
    ASSERT_TRUE(a->read(reader.get()));
    EXPECT_EQ(members(*a), "speed (1,2,3) max 4 acceleration (5,6,7) max 8 angular (9,10,11) (12,13,14) "
                           "mass -2.5 infinite immovable restitution 0.5 combine 2 friction 0.25 0.125 "
                           "locks 111 loops 11 group 7");
    EXPECT_EQ(hostLevel(*a).getName(), "wheel");
    EXPECT_FALSE(hostLevel(*a).isEnabled());
    EXPECT_EQ(reader->lines(), readLines(TestFixture::real()));
}

TYPED_TEST(RigidBody3DAttributeTest, AbsentVariablesKeepTheirResetValuesAndReadingGoesOn) {
    const std::string read = "read" + TestFixture::real();
    auto reader = make<RecordingReader>();
    reader->set("maxLinearSpeed", "4");
    reader->set("exclusionGroup", "7");
    auto a = make<typename TestFixture::Attribute>();
    fill(*a);
    ASSERT_TRUE(a->read(reader.get()));
    EXPECT_EQ(members(*a), "speed (0,0,0) max 4 acceleration (0,0,0) max 0 angular (0,0,0) (0,0,0) mass 1 "
                           "restitution 1 combine 0 friction 0 0 locks 000 loops 00 group 7");
    // An absent vector node is neither read nor left.
    const auto lines = reader->lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], "enterNode linearSpeed (absent)");
    EXPECT_EQ(lines[3], read + " maxLinearSpeed=4");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "leaveNode"), 0);
}

TYPED_TEST(RigidBody3DAttributeTest, AFailedReadStopsThereAndKeepsWhatWasRead) {
    const std::string& defaults = kRigidBodyDefaults;
    struct Case {
        const char* path;
        const char* text; // null: the reader refuses the variable
        std::string members;
        std::string lastLine;
    };
    const Case cases[] = {
        // "MIN" is no name of the enumeration: the members after it keep their reset values.
        {"restitutionCombine", "MIN",
         kRigidBodyFilled.substr(0, kRigidBodyFilled.find(" combine")) +
             defaults.substr(defaults.find(" combine")),
         "readEnumeration restitutionCombine=MIN (refused)"},
        // A malformed component: the node is not left.
        {"linearSpeed.y", "fast", "speed (1,0,0)" + defaults.substr(13),
         "read" + TestFixture::real() + " y=fast (refused)"},
        // A refusal of the host level stops before this level.
        {"enabled", nullptr, defaults, "readBool enabled=0 (refused)"},
    };
    for (const Case& c : cases) {
        auto reader = make<RecordingReader>();
        giveEveryVariable(*reader);
        if (c.text != nullptr)
            reader->set(c.path, c.text);
        else
            reader->record().refuseName(c.path);
        auto a = make<typename TestFixture::Attribute>();
        EXPECT_FALSE(a->read(reader.get())) << c.path;
        EXPECT_EQ(members(*a), c.members) << c.path;
        EXPECT_EQ(reader->lines().back(), c.lastLine) << c.path;
    }
}

// A write records what a read takes, in the same order. Untyped (no `vector`): nodes begun and
// ended instead of entered and left, their components as attributes, every other variable as an
// element. Typed: each vector a typed value of its components, the combine as its byte, every
// write with the context 9.
std::vector<std::string> writeLines(const std::string& real, const std::string& vector = "") {
    const bool typed = !vector.empty();
    std::vector<std::string> lines;
    std::string node;
    for (const std::string& line : readLines(real)) {
        const std::size_t blank = line.find(' ');
        if (line.rfind("enterNode ", 0) == 0) {
            node = line.substr(blank + 1);
            lines.push_back(typed ? "beginTypedValue " + vector : "beginNode " + node);
        } else if (line == "leaveNode") {
            if (typed)
                lines.insert(lines.end(),
                             {"endTypedValue", "writeTypedValue " + node + "=type 254 " + vector});
            else
                lines.push_back("endNode");
            node.clear();
        } else if (typed && line.rfind("readEnumeration ", 0) == 0) {
            lines.push_back("writeUInt8Typed restitutionCombine=2 context=9");
        } else {
            lines.push_back("write" + line.substr(4, blank - 4) + (typed ? "Typed" : "") +
                            line.substr(blank) +
                            (typed          ? " context=9"
                             : node.empty() ? " asAttribute=0"
                                            : " asAttribute=1"));
        }
    }
    return lines;
}

TYPED_TEST(RigidBody3DAttributeTest, WritesTheHostLevelThenItsVariablesInMemberOrderAndStopsAtARefusal) {
    auto a = make<typename TestFixture::Attribute>();
    fill(*a);
    a->setRestitutionCombine(RestitutionCombineAverage + 256); // only the low byte is written
    for (const auto passes : {RecordingWriter::Passes::Single, RecordingWriter::Passes::Two}) {
        auto writer = make<RecordingWriter>(passes);
        ASSERT_TRUE(a->write(writer.get(), false, 9));
        // A two-pass writer gets nothing in the first pass, so both record the same writes; the
        // vector nodes' components go out in the first pass of each node.
        EXPECT_EQ(writer->record().linesWithout("isSinglePass"), writeLines(TestFixture::real()));
        // A refused write stops there.
        writer = make<RecordingWriter>(passes);
        writer->record().refuseName("mass");
        EXPECT_FALSE(a->write(writer.get(), false, 9));
        EXPECT_EQ(writer->lines().back(),
                  "write" + TestFixture::real() + " mass=-2.5 asAttribute=0 (refused)");
    }
    auto writer = make<RecordingWriter>();
    ASSERT_TRUE(a->write(writer.get(), true, 9));
    EXPECT_EQ(writer->record().linesWithout("isSinglePass"),
              writeLines(TestFixture::real(), TestFixture::kFloat ? "Vector3{float}" : "Vector3{double}"));
}

TEST(RestitutionCombine, ConvertsTheFourNamesAndValuesBothWaysAndRejectsTheRest) {
    const char* const names[] = {"MAX", "MULTIPLY", "AVERAGE", "COMBINE_MIN"};
    for (uint8 value = 0; value < 4; ++value) {
        String name(names[value]);
        uint8 converted = 99;
        EXPECT_TRUE(convertRestitutionCombine(name, converted, true)) << names[value];
        EXPECT_EQ(converted, value);
        String back("unchanged");
        EXPECT_TRUE(convertRestitutionCombine(back, converted, false));
        EXPECT_EQ(back, names[value]);
    }
    // Rejected: the result is left alone.
    for (const char* rejected : {"MIN", "max", "", "AVERAGE "}) {
        String name(rejected);
        uint8 value = 99;
        EXPECT_FALSE(convertRestitutionCombine(name, value, true)) << '"' << rejected << '"';
        EXPECT_EQ(value, 99);
    }
    for (uint8 rejected : {uint8(4), uint8(255)}) {
        String name("unchanged");
        EXPECT_FALSE(convertRestitutionCombine(name, rejected, false)) << int(rejected);
        EXPECT_EQ(name, "unchanged");
    }
}

TEST(RestitutionCombine, ConvertsFromManyThreadsAtOnce) {
    // The first conversions of the process race to build the tables; every thread must see them
    // whole (the sanitizer build checks the locking).
    std::vector<std::thread> threads;
    std::vector<int> failures(8, 0);
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 200; ++i) {
                String name("COMBINE_MIN");
                uint8 value = 0;
                String back;
                uint8 two = 2;
                failures[t] += !convertRestitutionCombine(name, value, true) || value != 3 ||
                               !convertRestitutionCombine(back, two, false) || !(back == "AVERAGE");
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(8, 0));
}

} // namespace
} // namespace zor::test
