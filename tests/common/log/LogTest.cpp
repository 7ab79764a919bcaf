#include "common/log/Log.h"

#include "common/application/ProcessName.h"
#include "common/platform/Platform.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zor {
namespace {

using test::TestApplicationData;

constexpr const char* kModule = "zor_physics.dll";
constexpr const char* kFunction = "zor::PhysicsEngine3D::beginIteration";

// "YYYY-MM-DD hh:mm:ss.uuuuuu" and the blank after it.
constexpr std::size_t kTimestampLength = 26;
const std::regex kTimestamp(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{6})");

// "[%6d:%-6d] " written out by hand: the identifiers padded to six columns, right and left.
std::string expectedIdentifiers(uint32 threadId) {
    std::string process = std::to_string(platform::currentProcessId());
    std::string thread = std::to_string(threadId);
    if (process.size() < 6)
        process.insert(0, 6 - process.size(), ' ');
    if (thread.size() < 6)
        thread.append(6 - thread.size(), ' ');
    return "[" + process + ":" + thread + "] ";
}

std::string expectedLine(const char* levelName, const std::string& message,
                         uint32 threadId = platform::currentThreadId()) {
    return expectedIdentifiers(threadId) + levelName + " " + kModule + " " + kFunction + " - " + message +
           "\r\n";
}

// "YYYY-MM-DD" of a calendar time.
std::string dateOf(const platform::SystemTime& time) {
    char date[32];
    std::snprintf(date, sizeof date, "%04u-%02u-%02u", unsigned{time.year}, unsigned{time.month},
                  unsigned{time.day});
    return date;
}

struct TimedLine {
    std::string time;
    std::string line;
};

// Splits a written text into its lines, each without its timestamp; fails on a malformed one.
std::vector<TimedLine> timedLines(const std::string& text) {
    std::vector<TimedLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "unterminated line in: " << text;
        if (end == std::string::npos)
            break;
        const std::string whole = text.substr(start, end + 2 - start);
        const std::string time = whole.substr(0, kTimestampLength);
        EXPECT_TRUE(std::regex_match(time, kTimestamp)) << whole;
        EXPECT_EQ(whole[kTimestampLength], ' ') << whole;
        lines.push_back({time, whole.substr(kTimestampLength + 1)});
        start = end + 2;
    }
    return lines;
}

// The lines of every write, timestamps removed, one vector per writeLog call.
std::vector<std::vector<std::string>> writtenLines(const TestApplicationData& record) {
    std::vector<std::vector<std::string>> writes;
    for (const std::string& text : record.writtenTexts()) {
        writes.emplace_back();
        for (const TimedLine& line : timedLines(text))
            writes.back().push_back(line.line);
    }
    return writes;
}

void logWarning(const char* message) {
    zor_log(kModule, false, LogLevelWarn, kFunction, "%s", message);
}

TEST(Log, WritesTimestampHeaderAndMessageAsOneLine) {
    TestApplicationData record;
    const platform::SystemTime before = platform::systemTime();
    zor_log(kModule, false, LogLevelWarn, kFunction, "Current scene is %s. Cannot do anything.", "NULL");

    const std::vector<std::string> texts = record.writtenTexts();
    ASSERT_EQ(texts.size(), 1u);
    const std::vector<TimedLine> lines = timedLines(texts[0]);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].line, expectedLine("WARN ", "Current scene is NULL. Cannot do anything."));
    // The timestamp is UTC: it names the date of the calendar clock (unless midnight just passed).
    if (platform::systemTime().day == before.day) {
        EXPECT_EQ(lines[0].time.substr(0, 10), dateOf(before));
    }

    // The record remembers the line without, and the time as, the timestamp text.
    EXPECT_EQ(std::string(record.m_lastLogLine.c_str()), lines[0].line);
    EXPECT_EQ(std::string(record.m_lastLogTime.c_str()), lines[0].time);
    EXPECT_EQ(record.m_logRepeatCount, 0u);
}

TEST(Log, LevelFilterAndLevelNames) {
    struct Case {
        int32 threshold;
        int32 level;
        const char* written; // the level name in the line, or null when filtered out
    };
    const Case cases[] = {
        {2, 3, nullptr}, {2, 2, "WARN "}, {2, 1, "ERROR"},  {5, 5, "TRACE"}, {4, 4, "DEBUG"},
        {0, 0, "NONE"},  {0, -1, "NONE"}, {-1, 0, nullptr}, {5, 6, nullptr}, {6, 6, "NONE"},
    };
    for (const Case& c : cases) {
        TestApplicationData record;
        record.setLogLevel(c.threshold);
        record.setConsoleEcho(true);
        testing::internal::CaptureStdout();
        zor_log(kModule, true, c.level, kFunction, "level %d", static_cast<int>(c.level));
        const std::string console = testing::internal::GetCapturedStdout();

        const std::string message = "level " + std::to_string(c.level);
        const auto writes = writtenLines(record);
        if (c.written == nullptr) {
            // A filtered message is not echoed, not written, and does not open the log.
            EXPECT_TRUE(writes.empty()) << c.threshold << " " << c.level;
            EXPECT_EQ(console, "") << c.threshold << " " << c.level;
            EXPECT_TRUE(record.openLogCalls().empty()) << c.threshold << " " << c.level;
        } else {
            ASSERT_EQ(writes.size(), 1u) << c.threshold << " " << c.level;
            EXPECT_EQ(writes[0], std::vector<std::string>{expectedLine(c.written, message)});
            EXPECT_EQ(console, std::string(c.written) + ": " + message + "\n");
        }
    }
}

TEST(Log, FirstWrittenMessageOpensTheLogOnceUnderTheProcessName) {
    TestApplicationData record;
    record.setLogLevel(LogLevelWarn);
    zor_log(kModule, false, LogLevelInfo, kFunction, "filtered");
    EXPECT_TRUE(record.openLogCalls().empty());

    const platform::SystemTime before = platform::systemTime();
    logWarning("first");
    logWarning("second");

    const auto calls = record.openLogCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(record.m_logOpened, 1u);
    String processName;
    ASSERT_TRUE(zor_getCurrentProcessName(processName));
    EXPECT_EQ(calls[0].processName, processName.c_str());
    ASSERT_EQ(calls[0].fileBaseName.rfind(calls[0].processName, 0), 0u);
    // "_YYYY-MM-DD_hhmmssmmm": the UTC start time without separators.
    const std::string suffix = calls[0].fileBaseName.substr(calls[0].processName.size());
    EXPECT_TRUE(std::regex_match(suffix, std::regex(R"(_\d{4}-\d{2}-\d{2}_\d{9})"))) << suffix;
    if (platform::systemTime().day == before.day) {
        EXPECT_EQ(suffix.substr(0, 11), "_" + dateOf(before));
    }
}

TEST(ProcessName, IsTheExecutableFileNameWithoutItsFolder) {
    String name("previous content");
    ASSERT_TRUE(zor_getCurrentProcessName(name));
    const std::string text = name.c_str();
    EXPECT_EQ(text.rfind("zor_common_tests", 0), 0u) << text;
    EXPECT_EQ(text.find_first_of("/\\"), std::string::npos) << text;
}

TEST(Log, FoldsRunsOfTheSameLine) {
    struct Case {
        const char* sequence; // one message per letter, logged in order
        std::vector<std::vector<std::string>> writes;
    };
    const std::string a = expectedLine("WARN ", "A");
    const std::string b = expectedLine("WARN ", "B");
    const std::string c = expectedLine("WARN ", "C");
    // The notice line is "<time> ... repeated <n> times"; its time is checked apart.
    const auto notice = [](unsigned count) { return "... repeated " + std::to_string(count) + " times\r\n"; };
    const Case cases[] = {
        {"AB", {{a}, {b}}},
        {"AAB", {{a}, {b}}},
        {"AAAB", {{a}, {b}}},
        {"AAAAB", {{a}, {notice(1), a, b}}},
        {"AAAAAAB", {{a}, {notice(3), a, b}}},
        {"AAAAABBBBC", {{a}, {notice(2), a, b}, {notice(1), b, c}}},
        {"ABAB", {{a}, {b}, {a}, {b}}},
        {"AAAA", {{a}}},
    };
    for (const Case& testCase : cases) {
        TestApplicationData record;
        for (const char* letter = testCase.sequence; *letter != '\0'; ++letter)
            logWarning(std::string(1, *letter).c_str());

        std::vector<std::vector<std::string>> writes;
        for (const std::string& text : record.writtenTexts()) {
            writes.emplace_back();
            // A notice has no line format of its own: it is split off before the lines are read.
            std::string rest = text;
            const std::size_t noticeAt = text.find(" ... repeated ");
            if (noticeAt == kTimestampLength) {
                const std::size_t end = text.find("\r\n") + 2;
                writes.back().push_back(text.substr(kTimestampLength + 1, end - kTimestampLength - 1));
                // The notice carries the time of the last repetition, which follows it.
                EXPECT_EQ(text.substr(0, kTimestampLength), text.substr(end, kTimestampLength));
                rest = text.substr(end);
            }
            for (const TimedLine& line : timedLines(rest))
                writes.back().push_back(line.line);
        }
        EXPECT_EQ(writes, testCase.writes) << testCase.sequence;
    }
}

TEST(Log, TheSameMessageFromTwoThreadsIsNotFolded) {
    TestApplicationData record;
    logWarning("A");
    uint32 otherThread = 0;
    std::thread([&] {
        otherThread = platform::currentThreadId();
        logWarning("A");
    }).join();
    logWarning("A");

    const auto writes = writtenLines(record);
    const std::string here = expectedLine("WARN ", "A");
    const std::string there = expectedLine("WARN ", "A", otherThread);
    EXPECT_EQ(writes, (std::vector<std::vector<std::string>>{{here}, {there}, {here}}));
}

TEST(Log, ConsoleEchoNeedsTheCallAndTheHostToAskForIt) {
    struct Case {
        bool echoToConsole;
        bool hostEcho;
        bool printed;
    };
    for (const Case& c : {Case{false, false, false}, Case{true, false, false}, Case{false, true, false},
                          Case{true, true, true}}) {
        TestApplicationData record;
        record.setConsoleEcho(c.hostEcho);
        testing::internal::CaptureStdout();
        zor_log(kModule, c.echoToConsole, LogLevelError, kFunction, "value %d", 7);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed ? "ERROR: value 7\n" : "")
            << c.echoToConsole << c.hostEcho;
        EXPECT_EQ(record.writtenTexts().size(), 1u);
    }

    // The echo comes before folding: repetitions that the log holds back are still printed.
    TestApplicationData record;
    record.setConsoleEcho(true);
    testing::internal::CaptureStdout();
    for (int i = 0; i < 3; ++i)
        zor_log(kModule, true, LogLevelInfo, kFunction, "again");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "INFO : again\nINFO : again\nINFO : again\n");
    EXPECT_EQ(record.writtenTexts().size(), 1u);
}

TEST(Log, LongTextsAreWrittenWhole) {
    TestApplicationData record;
    const std::string longMessage(3000, 'm');
    const std::string longFunction = "zor::" + std::string(600, 'f');
    zor_log(kModule, false, LogLevelWarn, longFunction.c_str(), "%s!", longMessage.c_str());
    auto writes = writtenLines(record);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0],
              std::vector<std::string>{expectedIdentifiers(platform::currentThreadId()) + "WARN  " + kModule +
                                       " " + longFunction + " - " + longMessage + "!\r\n"});
}

TEST(Log, AMessageThatCannotBeFormattedLeavesItsPartEmpty) {
    // A wide character the C locale cannot encode makes glibc's printf fail.
    const wchar_t unencodable[] = {static_cast<wchar_t>(0x00E9), 0};
    if (std::snprintf(nullptr, 0, "%ls", unencodable) >= 0)
        GTEST_SKIP() << "this C library encodes the character";
    TestApplicationData record;
    zor_log(kModule, false, LogLevelWarn, kFunction, "text %ls", unencodable);
    const auto writes = writtenLines(record);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], std::vector<std::string>{expectedLine("WARN ", "")});
}

TEST(Log, ConcurrentMessagesAreNeitherLostNorTorn) {
    TestApplicationData record;
    constexpr int kThreads = 4;
    constexpr int kMessages = 300;
    std::vector<std::thread> threads;
    std::vector<uint32> threadIds(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &threadIds] {
            threadIds[t] = platform::currentThreadId();
            // Every third message repeats the one before, so folding runs under contention too.
            for (int i = 0; i < kMessages; ++i)
                zor_log(kModule, false, LogLevelWarn, kFunction, "thread %d message %d", t, i - i % 3 / 2);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    // A repetition is held back only when no other thread's line came between the two.
    std::map<std::string, std::pair<int, int>> expected; // line -> fewest and most copies
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kMessages; ++i) {
            auto& copies = expected[expectedLine(
                "WARN ", "thread " + std::to_string(t) + " message " + std::to_string(i - i % 3 / 2),
                threadIds[t])];
            copies.first = 1;
            copies.second += 1;
        }
    std::map<std::string, int> written;
    for (const TimedLine& line : timedLines(record.writtenLog()))
        ++written[line.line];
    for (const auto& [line, copies] : expected) {
        const int count = written.count(line) != 0 ? written[line] : 0;
        EXPECT_GE(count, copies.first) << line;
        EXPECT_LE(count, copies.second) << line;
    }
    EXPECT_EQ(written.size(), expected.size());
}

} // namespace
} // namespace zor
