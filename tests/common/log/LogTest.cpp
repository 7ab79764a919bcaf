#include "common/log/Log.h"
#include "common/containers/String.h"
#include "common/log/QualifiedFunctionName.h"

#include "common/platform/Platform.h"

#include "support/ExitOutput.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
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

// The lines of a written text without their timestamps, which go to `times`; fails on a
// malformed line.
std::vector<std::string> linesOf(const std::string& text, std::vector<std::string>* times = nullptr) {
    static const std::regex timestamp(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{6} )");
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line in: " << text;
            break;
        }
        const std::string whole = text.substr(start, end + 2 - start);
        EXPECT_TRUE(std::regex_match(whole.substr(0, kTimestampLength + 1), timestamp)) << whole;
        lines.push_back(whole.substr(kTimestampLength + 1));
        if (times != nullptr)
            times->push_back(whole.substr(0, kTimestampLength));
    }
    return lines;
}

// The lines of every write, timestamps removed, one vector per writeLog call.
Writes writtenLines(const TestApplicationData& record) {
    Writes writes;
    for (const std::string& text : record.writtenTexts())
        writes.push_back(linesOf(text));
    return writes;
}

void logWarning(const std::string& message) {
    zor_log(kModule, true, LogLevelWarn, kFunction, "%s", message.c_str());
}

TEST(Log, LevelFilterLevelNamesAndConsoleEcho) {
    // The threshold, the level, and the level's name in the line (null when filtered out).
    const std::tuple<int32, int32, const char*> cases[] = {
        {2, 3, nullptr}, {2, 2, "WARN "}, {2, 1, "ERROR"}, {5, 5, "TRACE"},
        {4, 4, "DEBUG"}, {0, 0, "NONE"},  {0, -1, "NONE"}, {-1, 0, nullptr},
        {5, 6, nullptr}, {6, 6, "NONE"},  {3, 3, "INFO "}, {1000, 1000, "NONE"},
    };
    for (const auto& [threshold, level, written] : cases) {
        // Bit 0: the call asks for the console echo; bit 1: the host does.
        for (const int echo : {0, 1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << threshold << " " << level << " " << echo);
            TestApplicationData record;
            record.m_logLevel = threshold;
            record.m_consoleEcho = echo & 2;
            testing::internal::CaptureStdout();
            zor_log(kModule, echo & 1, level, kFunction, "message");
            // A filtered message is not echoed, not written, and does not open the log.
            EXPECT_EQ(testing::internal::GetCapturedStdout(),
                      written && echo == 3 ? std::string(written) + ": message\n" : "");
            EXPECT_EQ(writtenLines(record), written ? Writes{{expectedLine(written, "message")}} : Writes{});
            EXPECT_EQ(record.openLogCalls().size(), written ? 1u : 0u);
        }
    }
}

TEST(Log, OpensTheLogOnceAndDoesNotFoldTheSameMessageFromAnotherThread) {
    TestApplicationData record;
    zor_log(kModule, false, LogLevelWarn, kFunction, "Current scene is %s.", "NULL");
    uint32 otherThread = 0;
    std::thread([&] {
        otherThread = platform::currentThreadId();
        logWarning("Current scene is NULL.");
    }).join();
    EXPECT_EQ(writtenLines(record), (Writes{{expectedLine("WARN ", "Current scene is NULL.")},
                                            {expectedLine("WARN ", "Current scene is NULL.", otherThread)}}));

    // The file base name is the executable's name and "_YYYY-MM-DD_hhmmssmmm" of the start.
    const auto calls = record.openLogCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(record.m_logOpened, 1u);
    const std::string& process = calls[0].first;
    EXPECT_TRUE(process.rfind("zor_common_tests", 0) == 0 &&
                process.find_first_of("/\\") == std::string::npos);
    EXPECT_TRUE(std::regex_match(calls[0].second, std::regex(process + R"(_\d{4}-\d{2}-\d{2}_\d{9})")));
}

TEST(Log, FoldsRunsOfTheSameLineButEchoesEveryOne) {
    const std::string a = expectedLine("WARN ", "A"), b = expectedLine("WARN ", "B"),
                      c = expectedLine("WARN ", "C");
    const auto notice = [](unsigned count) { return "... repeated " + std::to_string(count) + " times\r\n"; };
    // One message per letter, logged in order.
    // clang-format off
    const std::pair<const char*, Writes> cases[] = {
        {"AAAB", {{a}, {b}}}, {"ABAB", {{a}, {b}, {a}, {b}}}, {"AAAA", {{a}}},
        {"AAAAABBBBC", {{a}, {notice(2), a, b}, {notice(1), b, c}}}};
    // clang-format on
    for (const auto& [sequence, writes] : cases) {
        TestApplicationData record;
        record.m_consoleEcho = true;
        std::string echoed;
        testing::internal::CaptureStdout();
        for (const char* letter = sequence; *letter != '\0'; ++letter) {
            logWarning(std::string(1, *letter));
            echoed += std::string("WARN : ") + *letter + "\n";
        }
        EXPECT_EQ(testing::internal::GetCapturedStdout(), echoed) << sequence;
        EXPECT_EQ(writtenLines(record), writes) << sequence;
        // A notice carries the time of the last repetition, which follows it.
        for (const std::string& text : record.writtenTexts()) {
            std::vector<std::string> times;
            const std::vector<std::string> lines = linesOf(text, &times);
            if (lines.size() > 1 && lines[0].rfind("...", 0) == 0) {
                EXPECT_EQ(times[0], times[1]) << sequence;
            }
        }
    }
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

// Pointers print as on the framework's platform, as 16 upper-case digits everywhere; every other
// conversion as the C library prints it.
TEST(Log, PointersPrintAsSixteenUpperCaseDigits) {
    TestApplicationData record;
    zor_log(kModule, false, LogLevelWarn, kFunction, "0x%p %-20p|%*p|%5.2f %lld %u %s %c %x %%",
            reinterpret_cast<void*>(0xabc123), nullptr, 18, reinterpret_cast<void*>(1), 3.14159, -5LL, 7u,
            "t", 'c', 255u);
    EXPECT_EQ(writtenLines(record),
              Writes{{expectedLine("WARN ", "0x0000000000ABC123 0000000000000000    |  0000000000000001|"
                                            " 3.14 -5 7 t c ff %")}});
    String text;
    text.format("%p", reinterpret_cast<void*>(0xfedcba9876543210));
    EXPECT_STREQ(text.c_str(), "FEDCBA9876543210");
}

TEST(LogWithoutApplication, PrintsLevelColonMessageWhateverTheLevelAndEcho) {
    testing::internal::CaptureStdout();
    zor_log("common", false, 2, "zor::Test::run", "Cannot do %s.", "anything");
    zor_log("common", true, 7, "zor::Test::run", "value %d", 42);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARN : Cannot do anything.\nNONE: value 42\n");
}

void failingCheck(int value) {
    zor_assert(value != 0);
}

TEST(AssertDeathTest, FailedAssertionPrintsTheConditionAtErrorLevelAndExitsWithZero) {
    EXPECT_EQ(test::outputOfExit([] { failingCheck(0); }), "ERROR: assert(value != 0)\n");
    testing::internal::CaptureStdout();
    failingCheck(1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

std::string qualified(const char* signature) {
    char name[256];
    qualifiedFunctionName(signature, name, sizeof name);
    return name;
}

TEST(QualifiedFunctionName, ReducesSignaturesToANameWithinTheCapacity) {
    // Signature, name. An empty parameter name substitutes nothing and must not stall the scan.
    const char* const cases[][2] = {
        {"void zor::String::pushBackUTF8String(const char*)", "zor::String::pushBackUTF8String"},
        {"zor::WObject::~WObject()", "zor::WObject::~WObject"},
        {"zor::IObject* zor_createObject()", "zor_createObject"},
        {"bool zor::physicsInitialize(zor::ApplicationData*)", "zor::physicsInitialize"},
        {"void zor::RigidBody3DAttribute<T>::copy_Backwards(const zor::IObject*) [with T = float]",
         "zor::RigidBody3DAttribute<float>::copy_Backwards"},
        {"zor::HashMapBase<K, V, H, E>::Iterator zor::HashMapBase<K, V, H, E>::find(const K&) [with K = "
         "unsigned "
         "char; V = int; H = zor::Hash<unsigned char>; E = zor::EqualTo<unsigned char>]",
         "zor::HashMapBase<unsigned char, int, zor::Hash<unsigned char>, zor::EqualTo<unsigned char>>::find"},
        {"void f<,>() [with  = int]", "f<,>"},
        {"void f<T>() [with  = int; T = float]", "f<float>"},
        {"void f<T>() [with T = ]", "f<>"},
        {"void f<T>() [with T = int", "f<int>"},
        {"void f<T>() [with ; ; T = int]", "f<int>"},
        {"", ""},
        {"(", ""},
    };
    for (const auto& [signature, name] : cases)
        EXPECT_EQ(qualified(signature), name) << signature;

    // A substitution that outgrows the buffers is cut, never written past.
    const std::string longValue(2000, 'v');
    const std::string signature = "void f<T, T>() [with T = " + longValue + "]";
    char tiny[8];
    qualifiedFunctionName(signature.c_str(), tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "f<vvvvv");
    EXPECT_EQ(qualified(signature.c_str()).size(), 255u);
}

// Logging under load: eight threads log runs of repeated lines while a ninth moves the threshold.
constexpr int kThreads = 8;

// Lines each thread logs: a few thousand keep the suite quick; ZOR_LOG_STRESS_LINES asks for more.
int linesPerThread() {
    const char* lines = std::getenv("ZOR_LOG_STRESS_LINES");
    return lines != nullptr && std::atoi(lines) > 0 ? std::atoi(lines) : 4000;
}

// Message k of a thread is logged this many times in a row: runs of four and five hold back
// enough repetitions for a notice when no other thread's line comes between.
int runLength(int k) {
    return 1 + k % 5;
}

// One thread's messages as the log shows them: per message the lines written, the notices and
// the repetitions the notices count; the last message and debug line the thread wrote itself.
struct ThreadLog {
    std::vector<int> lines, notices, noticed;
    int lastMessage = -1, lastDebug = -1;
};

// The thread and message of a line "... - t<thread> m<k>" (WARN, message k) or "... d<k>"
// (DEBUG, message -k-1) in the line format of that thread; false for any other line.
bool parseLoadLine(const std::string& line, const std::vector<uint32>& threadIds, int messages, int& thread,
                   int& message) {
    char kind = 0;
    int k = -1;
    const std::size_t text = line.rfind(" - t");
    if (text == std::string::npos ||
        std::sscanf(line.c_str() + text, " - t%d %c%d", &thread, &kind, &k) != 3 || thread < 0 ||
        thread >= kThreads || k < 0 || k >= messages || (kind != 'm' && kind != 'd'))
        return false;
    message = kind == 'm' ? k : -k - 1;
    return line == expectedLine(kind == 'm' ? "WARN " : "DEBUG",
                                "t" + std::to_string(thread) + " " + kind + std::to_string(k),
                                threadIds[thread]);
}

TEST(LogUnderLoad, EightThreadsLoseNoLineTearNoneAndFoldTheirOwnRuns) {
    test::TestApplicationData record;
    setLogLevel(record, LogLevelWarn);
    const int lines = linesPerThread();
    int messages = 0;
    for (int logged = 0; logged < lines; logged += runLength(messages++)) {
    }

    std::atomic<int> running{kThreads};
    std::vector<uint32> threadIds(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            threadIds[t] = platform::currentThreadId();
            for (int k = 0; k < messages; ++k) {
                for (int i = runLength(k); i > 0; --i)
                    zor_log(kModule, false, LogLevelWarn, kFunction, "t%d m%d", t, k);
                // Written only while the threshold admits it.
                if (k % 16 == 0)
                    zor_log(kModule, false, LogLevelDebug, kFunction, "t%d d%d", t, k);
            }
            --running;
        });
    // The threshold moves between WARN and DEBUG while the others log.
    threads.emplace_back([&] {
        for (int i = 0; running.load() > 0; ++i) {
            setLogLevel(record, i % 2 == 0 ? LogLevelDebug : LogLevelWarn);
            std::this_thread::yield();
        }
    });
    for (std::thread& thread : threads)
        thread.join();
    // A different line lets the last run go.
    setLogLevel(record, LogLevelWarn);
    zor_log(kModule, false, LogLevelWarn, kFunction, "done");
    const std::vector<std::string> texts = record.writtenTexts();

    std::vector<ThreadLog> logs(
        kThreads, {std::vector<int>(messages), std::vector<int>(messages), std::vector<int>(messages)});
    // Each text is one new line, alone or after a notice and the repetition the notice ends with;
    // the last one is the closing line. Returns the fault, or the empty text (a torn line fails
    // in linesOf).
    const auto readText = [&](const std::string& text, bool last) -> std::string {
        const std::vector<std::string> lines = linesOf(text);
        int thread, message;
        unsigned repeated = 0;
        if (lines.size() == 3 && std::sscanf(lines[0].c_str(), "... repeated %u times", &repeated) == 1 &&
            lines[0] == "... repeated " + std::to_string(repeated) + " times\r\n") {
            if (!parseLoadLine(lines[1], threadIds, messages, thread, message) || message < 0)
                return "bad repetition";
            ++logs[thread].notices[message];
            logs[thread].noticed[message] += static_cast<int>(repeated);
            ++logs[thread].lines[message];
        } else if (lines.size() != 1) {
            return "unexpected lines";
        }
        if (last)
            return lines.back().ends_with(" - done\r\n") ? "" : "no closing line";
        if (!parseLoadLine(lines.back(), threadIds, messages, thread, message))
            return "bad line";
        ThreadLog& log = logs[thread];
        if (message < 0) {
            if (-message - 1 <= log.lastDebug)
                return "debug line out of order";
            log.lastDebug = -message - 1;
            return "";
        }
        // A run split by other threads' lines starts again with the same message.
        if (message < log.lastMessage)
            return "line out of order";
        log.lastMessage = message;
        ++log.lines[message];
        return "";
    };
    int faults = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string fault = readText(texts[i], i + 1 == texts.size());
        if (!fault.empty() && faults++ < 5)
            ADD_FAILURE() << fault << ": " << texts[i];
    }
    // A run that no other line interrupted shows as its first line, a notice of count - 2 and its
    // last repetition; other lines cutting a run make pieces of that shape, and a piece of two or
    // three lines shows as its first line alone. So each message's lines and notices must add up
    // to its run length.
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < messages; ++k) {
            const ThreadLog& log = logs[t];
            const int notices = log.notices[k];
            const int plain = log.lines[k] - 2 * notices;
            const int rest = runLength(k) - log.noticed[k] - 3 * notices;
            if ((plain < 0 || plain + notices < 1 || rest < plain || rest > 3 * plain) && faults++ < 5)
                ADD_FAILURE() << "thread " << t << " message " << k << ": " << log.lines[k] << " lines, "
                              << notices << " notices of " << log.noticed[k];
        }
    EXPECT_EQ(faults, 0);
}

} // namespace
} // namespace zor
