#include "FuzzChecks.h"

#include "host/path/SvgPathData.h"

#include <string>
#include <string_view>

namespace zor::test {

bool checkSvgPathInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    host::PathSteps steps(1);
    std::string error;
    if (!host::parseSvgPathData(text, steps, error)) {
        const std::size_t column = error.rfind("column ", 0) == 0 ? std::stoul(error.substr(7)) : 0;
        return steps.size() == 1 && column >= 1 && column <= size + 1 &&
               error.find(": expected ") != std::string::npos;
    }
    const std::string written = host::formatSvgPathData(steps);
    host::PathSteps again;
    return host::parseSvgPathData(written, again, error) && again == steps &&
           host::formatSvgPathData(again) == written;
}

} // namespace zor::test
