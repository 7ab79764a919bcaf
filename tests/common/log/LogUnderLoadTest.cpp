#include "common/log/Log.h"

#include "common/platform/Platform.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zor {
namespace {

constexpr int kThreads = 8;
constexpr const char* kModule = "zor_physics.dll";
constexpr const char* kFunction = "zor::PhysicsEngine3D::updateCollisions";

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

bool isTimestamp(std::string_view text) {
    static constexpr std::string_view pattern = "0000-00-00 00:00:00.000000 ";
    if (text.size() < pattern.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] == '0' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != pattern[i])
            return false;
    return true;
}

// The thread and message of a line "[pid:tid] WARN  module function - t<thread> m<k>", or of a
// DEBUG line "... d<k>" (message -k-1), where `headers` holds each thread's "[pid:tid] " and the
// thread in the text must be the one of the header. False for any other line.
bool parse(std::string_view line, const std::vector<std::string>& headers, int& thread, int& message) {
    for (thread = 0; thread < kThreads && !line.starts_with(headers[thread]); ++thread) {
    }
    if (thread == kThreads)
        return false;
    line.remove_prefix(headers[thread].size());
    const bool warn = line.starts_with("WARN  ");
    const std::string source = std::string(kModule) + " " + kFunction + " - t" + std::to_string(thread) + " ";
    if (!(warn || line.starts_with("DEBUG ")) || line.substr(6, source.size()) != source)
        return false;
    line.remove_prefix(6 + source.size());
    int k = -1;
    if (line.size() < 2 || line.size() > 10 || line[0] != (warn ? 'm' : 'd') ||
        std::from_chars(line.data() + 1, line.data() + line.size(), k).ptr != line.data() + line.size() ||
        k < 0)
        return false;
    message = warn ? k : -k - 1;
    return true;
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

    std::vector<std::string> headers;
    for (uint32 threadId : threadIds) {
        char header[32];
        std::snprintf(header, sizeof header, "[%6u:%-6u] ", platform::currentProcessId(), threadId);
        headers.push_back(header);
    }
    std::vector<ThreadLog> logs(
        kThreads, {std::vector<int>(messages), std::vector<int>(messages), std::vector<int>(messages)});
    // Each text is one new line, alone or after a notice and the repetition the notice ends with;
    // the last one is the closing line. Returns the fault, or the empty text.
    const auto readText = [&](std::string_view text, bool last) -> std::string {
        std::vector<std::string_view> lines;
        for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
            end = text.find("\r\n", start);
            if (end == std::string_view::npos || !isTimestamp(text.substr(start)))
                return "torn text";
            lines.push_back(text.substr(start + 27, end - start - 27));
        }
        int thread, message;
        unsigned repeated = 0;
        if (lines.size() == 3 &&
            std::sscanf(std::string(lines[0]).c_str(), "... repeated %u times", &repeated) == 1 &&
            lines[0] == "... repeated " + std::to_string(repeated) + " times") {
            if (!parse(lines[1], headers, thread, message) || message < 0 || message >= messages)
                return "bad repetition";
            ++logs[thread].notices[message];
            logs[thread].noticed[message] += static_cast<int>(repeated);
            ++logs[thread].lines[message];
        } else if (lines.size() != 1) {
            return "unexpected lines";
        }
        if (last)
            return lines.back().ends_with(" - done") ? "" : "no closing line";
        if (!parse(lines.back(), headers, thread, message) || message >= messages)
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
