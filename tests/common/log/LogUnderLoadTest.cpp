#include "common/log/Log.h"

#include "common/platform/Platform.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
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

// One thread's messages as the log shows them.
struct ThreadLog {
    std::vector<int> explicitLines; // per message: lines written
    std::vector<int> notices;       // per message: notices
    std::vector<int> noticed;       // per message: repetitions the notices count
    int lastMessage = -1;           // last message the thread wrote itself
    int lastDebug = -1;
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

// Reads the log back: every line whole, every thread's own lines in order, and the counts of
// lines and notices per message. Returns the first fault found, or the empty text.
class LogReader {
public:
    LogReader(const std::vector<uint32>& threadIds, int messages) : m_threads(kThreads) {
        for (int t = 0; t < kThreads; ++t) {
            m_threadOf[threadIds[t]] = t;
            m_threads[t].explicitLines.assign(messages, 0);
            m_threads[t].notices.assign(messages, 0);
            m_threads[t].noticed.assign(messages, 0);
        }
    }

    // `last`: the text ends with the closing line, which is left out.
    std::string readText(std::string_view text, bool last) {
        std::vector<std::string_view> lines;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find("\r\n", start);
            if (end == std::string_view::npos || !isTimestamp(text.substr(start)))
                return "torn text: " + std::string(text);
            lines.push_back(text.substr(start + 27, end - start - 27));
            start = end + 2;
        }
        // One new line, alone or after a notice and the repetition the notice ends with.
        unsigned repeated = 0;
        if (lines.size() == 3 &&
            std::sscanf(std::string(lines[0]).c_str(), "... repeated %u times", &repeated) == 1 &&
            lines[0] == "... repeated " + std::to_string(repeated) + " times") {
            int thread, message;
            if (!parse(lines[1], thread, message) || message < 0)
                return "bad repetition: " + std::string(text);
            ++m_threads[thread].notices[message];
            m_threads[thread].noticed[message] += static_cast<int>(repeated);
            ++m_threads[thread].explicitLines[message];
        } else if (lines.size() != 1) {
            return "unexpected lines: " + std::string(text);
        }
        if (last)
            return lines.back().ends_with(" - done") ? "" : "no closing line: " + std::string(text);
        int thread, message;
        if (!parse(lines.back(), thread, message))
            return "bad line: " + std::string(text);
        ThreadLog& log = m_threads[thread];
        if (message < 0) {
            if (-message - 1 <= log.lastDebug)
                return "debug line out of order: " + std::string(text);
            log.lastDebug = -message - 1;
            return {};
        }
        // A run split by other threads' lines starts again with the same message.
        if (message < log.lastMessage)
            return "line out of order: " + std::string(text);
        log.lastMessage = message;
        ++log.explicitLines[message];
        return {};
    }

    const std::vector<ThreadLog>& threads() const { return m_threads; }

private:
    // "[pid:tid] LEVEL module function - t<thread> m<k>" (WARN) or "... d<k>" (DEBUG, returned
    // as -k-1), where the thread in the text must be the one of the header.
    bool parse(std::string_view line, int& thread, int& message) const {
        unsigned processId, threadId;
        const std::string text(line);
        if (std::sscanf(text.c_str(), "[%u:%u", &processId, &threadId) != 2)
            return false;
        const auto found = m_threadOf.find(threadId);
        if (found == m_threadOf.end() || processId != platform::currentProcessId())
            return false;
        thread = found->second;
        char header[64];
        std::snprintf(header, sizeof header, "[%6d:%-6d] ", static_cast<int>(processId),
                      static_cast<int>(threadId));
        const std::string warn = std::string(header) + "WARN  " + kModule + " " + kFunction + " - t" +
                                 std::to_string(thread) + " m";
        const std::string debug = std::string(header) + "DEBUG " + kModule + " " + kFunction + " - t" +
                                  std::to_string(thread) + " d";
        const bool isWarn = text.rfind(warn, 0) == 0;
        if (!isWarn && text.rfind(debug, 0) != 0)
            return false;
        const std::string number = text.substr((isWarn ? warn : debug).size());
        if (number.empty() || number.size() > 9 ||
            number.find_first_not_of("0123456789") != std::string::npos)
            return false;
        message = isWarn ? std::stoi(number) : -std::stoi(number) - 1;
        return isWarn ? message < static_cast<int>(m_threads[thread].explicitLines.size()) : true;
    }

    std::map<uint32, int> m_threadOf;
    std::vector<ThreadLog> m_threads;
};

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

    LogReader reader(threadIds, messages);
    int faults = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string fault = reader.readText(texts[i], i + 1 == texts.size());
        if (!fault.empty() && faults++ < 5)
            ADD_FAILURE() << fault;
    }
    // A run that no other line interrupted shows as its first line, a notice of count - 2 and its
    // last repetition; other lines cutting a run make pieces of that shape, and a piece of two or
    // three lines shows as its first line alone. So each message's lines and notices must add up
    // to its run length.
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < messages; ++k) {
            const ThreadLog& log = reader.threads()[t];
            const int notices = log.notices[k];
            const int plain = log.explicitLines[k] - 2 * notices;
            const int rest = runLength(k) - log.noticed[k] - 3 * notices;
            if ((plain < 0 || plain + notices < 1 || rest < plain || rest > 3 * plain) && faults++ < 5)
                ADD_FAILURE() << "thread " << t << " message " << k << ": " << log.explicitLines[k]
                              << " lines, " << notices << " notices of " << log.noticed[k];
        }
    EXPECT_EQ(faults, 0);
}

} // namespace
} // namespace zor
