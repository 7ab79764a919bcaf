#include "HostArgumentsFuzz.h"

#include "host/app/HostArguments.h"
#include "support/TestApplicationData.h"

#include <cstring>

namespace zor::test {

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
    return out.settings.librariesDirectory.length() > 0 && out.settings.logDirectory.length() > 0;
}

} // namespace zor::test
