#include "FuzzChecks.h"

#include "host/app/HitTestRequest.h"
#include "host/app/HostArguments.h"
#include "host/app/SimulateOptions.h"
#include "support/TestApplicationData.h"

#include <cmath>
#include <cstring>
#include <string>

namespace zor::test {
namespace {

// A refusal is one line a console shows as it is: no control characters.
bool isOneLine(const std::string& error) {
    if (error.empty())
        return false;
    for (const char c : error)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    return true;
}

// The operands after a command that takes options, read by that command's own parser.
bool checkCommandOperands(const String& command, const List<String>& operands) {
    std::string error;
    if (command == "simulate") {
        SimulateOptions options;
        if (!parseSimulateOptions(operands, options, error))
            return isOneLine(error);
        return error.empty() && options.settings.steps >= 1 && options.settings.steps <= kMostSimulateSteps &&
               options.settings.deltaT > 0 && options.settings.deltaT <= 1e6 &&
               options.settings.recordEvery >= 1 && !options.outputDirectory.isEmpty();
    }
    if (command == "hittest") {
        HitTestRequest request;
        if (!parseHitTestRequest(operands, request, error))
            return isOneLine(error);
        for (const Vector2<double>& point : request.points)
            if (!std::isfinite(point.x) || !std::isfinite(point.y))
                return false;
        return error.empty() && request.points.size() + (request.pointsPath.isEmpty() ? 0 : 1) >= 1;
    }
    return true;
}

} // namespace

bool checkHostArgumentsInput(const std::uint8_t* data, std::size_t size) {
    TestApplicationData record;
    List<String> arguments;
    const char* text = reinterpret_cast<const char*>(data);
    for (std::size_t start = 0; start <= size;) {
        const void* nul = std::memchr(text + start, '\0', size - start);
        const std::size_t end =
            nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : size;
        String argument;
        argument.assign(text + start, end - start);
        arguments.pushBack(argument);
        start = end + 1;
    }
    HostArguments out;
    String error;
    const bool accepted = parseHostArguments(arguments, String("/opt/zor/"), out, error);
    if (!record.writtenTexts().empty())
        return false;
    if (!accepted)
        return !error.isEmpty();
    // The command is the tail of the arguments, unchanged.
    if (out.command.size() > arguments.size())
        return false;
    auto argument = arguments.begin();
    for (uint64 skipped = arguments.size() - out.command.size(); skipped > 0; --skipped)
        ++argument;
    for (const String& word : out.command) {
        if (!(word == *argument))
            return false;
        ++argument;
    }
    if (out.settings.librariesDirectory.length() == 0 || out.settings.logDirectory.length() == 0)
        return false;
    if (out.command.isEmpty())
        return true;
    List<String> operands = out.command;
    const String command = operands.front();
    operands.popFront();
    return operands.isEmpty() || checkCommandOperands(command, operands);
}

} // namespace zor::test
