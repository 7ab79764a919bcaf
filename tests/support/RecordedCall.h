#pragma once

#include "common/Types.h"

#include <string>
#include <utility>
#include <vector>

namespace zor::test {

/// One call made on a recording reader or writer.
struct RecordedCall {
    RecordedCall(std::string operation, std::string name = {}, std::string value = {}, int asAttribute = -1,
                 uint64 context = 0)
        : operation(std::move(operation)), name(std::move(name)), value(std::move(value)),
          asAttribute(asAttribute), context(context) {}

    /// The operation's name: "writeFloat", "beginNode", "isSinglePass", ...
    std::string operation;
    /// The variable, node or type name; empty for calls without one.
    std::string name;
    /// The value as text (numbers in their shortest exact form, bytes as numbers, enumerations
    /// by keyword); empty for calls without one, "null" for a null value pointer.
    std::string value;
    /// The `asAttribute` byte of the untyped writes; -1 for other calls.
    int asAttribute = -1;
    /// The context of typed writes or the options word of the other calls.
    uint64 context = 0;
    /// False when the double answered the call with a failure.
    bool accepted = true;
    /// A read of a variable or node that is not there.
    bool absent = false;

    /// One line: "writeFloat x=1.5 asAttribute=1", "writeFloatTyped x=2 context=7",
    /// "readFloat x (absent)", "beginNode position (refused)".
    std::string text() const;
};

/// The calls recorded so far, in order, and the refusals the test asked for.
class CallRecord {
public:
    /// Every call as its text line.
    std::vector<std::string> lines() const;
    /// The lines of every call except those of the named operation (often "isSinglePass").
    std::vector<std::string> linesWithout(const std::string& operation) const;
    void clear() { m_calls.clear(); }

    /// Refuses the n-th call (counted from 1) among those that can fail: every operation with a
    /// bool result except isSinglePass. Refusals add up.
    void refuseCall(std::size_t n) { m_refusedCalls.push_back(n); }
    /// Refuses every call for the variable, node or type `name`.
    void refuseName(const std::string& name) { m_refusedNames.push_back(name); }

    /// Records `call`; for a call that can fail, decides whether it is refused and returns
    /// whether it is accepted.
    bool record(RecordedCall call, bool canFail = true);

private:
    std::vector<RecordedCall> m_calls;
    std::vector<std::size_t> m_refusedCalls;
    std::vector<std::string> m_refusedNames;
    std::size_t m_fallibleCalls = 0;
};

} // namespace zor::test
