#include "common/log/Log.h"

#include "common/platform/Platform.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <iomanip>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

using test::TestApplicationData;
using Writes = std::vector<std::vector<std::string>>;

constexpr const char* kModule = "zor_physics.dll";
constexpr const char* kFunction = "zor::PhysicsEngine3D::beginIteration";

// "YYYY-MM-DD hh:mm:ss.uuuuuu" and the blank after it.
constexpr std::size_t kTimestampLength = 26;

// A written line without its timestamp: the process and thread identifiers padded to six columns
// (right and left aligned), the level, module and function, and the message.
std::string expectedLine(const char* level, const std::string& message,
                         uint32 threadId = platform::currentThreadId(),
                         const std::string& function = kFunction) {
    std::ostringstream line;
    line << '[' << std::setw(6) << platform::currentProcessId() << ':' << std::left << std::setw(6)
         << threadId << "] " << level << ' ' << kModule << ' ' << function << " - " << message << "\r\n";
    return line.str();
}

struct TimedLine {
    std::string time;
    std::string line;
};

// Splits a written text into its lines, each without its timestamp; fails on a malformed one.
std::vector<TimedLine> timedLines(const std::string& text) {
    static const std::regex timestamp(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{6} )");
    std::vector<TimedLine> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line in: " << text;
            break;
        }
        const std::string whole = text.substr(start, end + 2 - start);
        EXPECT_TRUE(std::regex_match(whole.substr(0, kTimestampLength + 1), timestamp)) << whole;
        lines.push_back({whole.substr(0, kTimestampLength), whole.substr(kTimestampLength + 1)});
    }
    return lines;
}

// The lines of every write, timestamps removed, one vector per writeLog call.
Writes writtenLines(const TestApplicationData& record) {
    Writes writes;
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

TEST(Log, FirstLineOpensTheLogOnceUnderTheProcessNameAndTheStartTime) {
    TestApplicationData record;
    zor_log(kModule, false, LogLevelWarn, kFunction, "Current scene is %s. Cannot do anything.", "NULL");
    logWarning("second");
    const std::vector<TimedLine> lines = timedLines(record.writtenLog());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].line, expectedLine("WARN ", "Current scene is NULL. Cannot do anything."));

    // The file base name is the executable's name and "_YYYY-MM-DD_hhmmssmmm" of the start.
    const auto calls = record.openLogCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(record.m_logOpened, 1u);
    const std::string& process = calls[0].first;
    EXPECT_TRUE(process.rfind("zor_common_tests", 0) == 0 &&
                process.find_first_of("/\\") == std::string::npos);
    EXPECT_TRUE(std::regex_match(calls[0].second, std::regex(process + R"(_\d{4}-\d{2}-\d{2}_\d{9})")));
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
        SCOPED_TRACE(testing::Message() << c.threshold << " " << c.level);
        TestApplicationData record;
        record.m_logLevel = c.threshold;
        record.m_consoleEcho = true;
        testing::internal::CaptureStdout();
        zor_log(kModule, true, c.level, kFunction, "message");
        // A filtered message is not echoed, not written, and does not open the log.
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  c.written ? std::string(c.written) + ": message\n" : "");
        EXPECT_EQ(writtenLines(record), c.written ? Writes{{expectedLine(c.written, "message")}} : Writes{});
        EXPECT_EQ(record.openLogCalls().size(), c.written ? 1u : 0u);
    }
}

TEST(Log, FoldsRunsOfTheSameLine) {
    const std::string a = expectedLine("WARN ", "A"), b = expectedLine("WARN ", "B"),
                      c = expectedLine("WARN ", "C");
    const auto notice = [](unsigned count) { return "... repeated " + std::to_string(count) + " times\r\n"; };
    const struct {
        const char* sequence; // one message per letter, logged in order
        Writes writes;
    } cases[] = {
        {"AAAB", {{a}, {b}}},
        {"AAAAB", {{a}, {notice(1), a, b}}},
        {"AAAAAAB", {{a}, {notice(3), a, b}}},
        {"AAAAABBBBC", {{a}, {notice(2), a, b}, {notice(1), b, c}}},
        {"ABAB", {{a}, {b}, {a}, {b}}},
        {"AAAA", {{a}}},
    };
    for (const auto& testCase : cases) {
        TestApplicationData record;
        for (const char* letter = testCase.sequence; *letter != '\0'; ++letter)
            logWarning(std::string(1, *letter).c_str());
        EXPECT_EQ(writtenLines(record), testCase.writes) << testCase.sequence;
        // A notice carries the time of the last repetition, which follows it.
        for (const std::string& text : record.writtenTexts()) {
            const std::vector<TimedLine> lines = timedLines(text);
            if (lines.size() > 1 && lines[0].line.rfind("...", 0) == 0) {
                EXPECT_EQ(lines[0].time, lines[1].time) << testCase.sequence;
            }
        }
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
    const std::string here = expectedLine("WARN ", "A");
    EXPECT_EQ(writtenLines(record), (Writes{{here}, {expectedLine("WARN ", "A", otherThread)}, {here}}));
}

TEST(Log, ConsoleEchoNeedsTheCallAndTheHostToAskForItAndComesBeforeFolding) {
    TestApplicationData record;
    testing::internal::CaptureStdout();
    zor_log(kModule, true, LogLevelError, kFunction, "the host does not ask");
    record.m_consoleEcho = true;
    zor_log(kModule, false, LogLevelError, kFunction, "the call does not ask");
    for (int i = 0; i < 3; ++i)
        zor_log(kModule, true, LogLevelInfo, kFunction, "again");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "INFO : again\nINFO : again\nINFO : again\n");
    EXPECT_EQ(record.writtenTexts().size(), 3u) << "repetitions that the log holds back are still printed";
}

TEST(Log, LongTextsAreWrittenWholeAndAnUnformattableMessageIsEmpty) {
    TestApplicationData record;
    const std::string longMessage(3000, 'm');
    const std::string longFunction = "zor::" + std::string(600, 'f');
    zor_log(kModule, false, LogLevelWarn, longFunction.c_str(), "%s!", longMessage.c_str());
    EXPECT_EQ(writtenLines(record),
              Writes{{expectedLine("WARN ", longMessage + "!", platform::currentThreadId(), longFunction)}});

    // A wide character the C locale cannot encode makes glibc's printf fail (other C libraries
    // encode it).
    const wchar_t unencodable[] = {static_cast<wchar_t>(0x00E9), 0};
    if (std::snprintf(nullptr, 0, "%ls", unencodable) < 0) {
        record.clearCaptured();
        zor_log(kModule, false, LogLevelWarn, kFunction, "text %ls", unencodable);
        EXPECT_EQ(writtenLines(record), Writes{{expectedLine("WARN ", "")}});
    }
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

    // A repetition is held back only when no other thread's line came between the two, so each
    // line is written at least once and at most as often as it was logged.
    std::map<std::string, int> logged, written;
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kMessages; ++i)
            ++logged[expectedLine("WARN ",
                                  "thread " + std::to_string(t) + " message " + std::to_string(i - i % 3 / 2),
                                  threadIds[t])];
    for (const TimedLine& line : timedLines(record.writtenLog()))
        ++written[line.line];
    EXPECT_EQ(written.size(), logged.size());
    for (const auto& [line, count] : logged) {
        EXPECT_GE(written[line], 1) << line;
        EXPECT_LE(written[line], count) << line;
    }
}

} // namespace
} // namespace zor
