#include "support/RecordedCall.h"

#include <algorithm>

namespace zor::test {

std::string RecordedCall::text() const {
    std::string line = operation;
    if (!name.empty() || !value.empty())
        line += " " + name;
    if (!value.empty())
        line += "=" + value;
    if (asAttribute >= 0)
        line += " asAttribute=" + std::to_string(asAttribute);
    if (context != 0)
        line += " context=" + std::to_string(context);
    if (absent)
        line += " (absent)";
    if (!accepted)
        line += " (refused)";
    return line;
}

std::vector<std::string> CallRecord::lines() const {
    return linesWithout({});
}

std::vector<std::string> CallRecord::linesWithout(const std::string& operation) const {
    std::vector<std::string> lines;
    for (const RecordedCall& call : m_calls)
        if (call.operation != operation)
            lines.push_back(call.text());
    return lines;
}

bool CallRecord::record(RecordedCall call, bool canFail) {
    if (canFail) {
        const std::size_t number = ++m_fallibleCalls;
        const bool refused =
            std::find(m_refusedCalls.begin(), m_refusedCalls.end(), number) != m_refusedCalls.end() ||
            std::find(m_refusedNames.begin(), m_refusedNames.end(), call.name) != m_refusedNames.end();
        call.accepted = call.accepted && !refused;
    }
    m_calls.push_back(std::move(call));
    return m_calls.back().accepted;
}

} // namespace zor::test
