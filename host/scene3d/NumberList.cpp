#include "host/scene3d/NumberList.h"

#include "common/log/Log.h"
#include "host/io/NumberText.h"

#include <string_view>

namespace zor::host {

template <typename Number>
String numberListText(const Number* values, std::size_t count, std::size_t group) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0)
            text += i % group == 0 ? "  " : " ";
        text += numberText(values[i]);
    }
    return String(text.c_str(), text.size());
}

template <typename Number>
bool parseNumberList(const String& text, std::vector<Number>& values, std::string& error) {
    values.clear();
    const std::string_view all(text.c_str());
    constexpr std::string_view kSpace = " \t\r\n";
    for (std::size_t start = all.find_first_not_of(kSpace); start != std::string_view::npos;) {
        const std::size_t end = std::min(all.find_first_of(kSpace, start), all.size());
        const std::string_view entry = all.substr(start, end - start);
        Number value{};
        const NumberParse parse = parseNumber(entry, value);
        if (parse != NumberParse::Ok) {
            // Quoted as far as a log line shows it.
            const std::string shown(entry.substr(0, 40));
            error = "entry " + std::to_string(values.size()) + ", \"" + shown +
                    (entry.size() > 40 ? "...\"" : "\"") +
                    (parse == NumberParse::OutOfRange ? " (out of range)" : "");
            return false;
        }
        values.push_back(value);
        start = all.find_first_not_of(kSpace, end);
    }
    return true;
}

void logSceneObjectFailure(const String& typeName, const String& name, const std::string& message) {
    // A user's file is at fault: worth seeing on the console when the host echoes.
    zor_log("zor_host", true, LogLevelError, "readSceneObject", "%s \"%s\": %s", typeName.c_str(),
            name.c_str(), message.c_str());
}

template String numberListText(const float*, std::size_t, std::size_t);
template String numberListText(const double*, std::size_t, std::size_t);
template String numberListText(const uint32*, std::size_t, std::size_t);
template bool parseNumberList(const String&, std::vector<float>&, std::string&);
template bool parseNumberList(const String&, std::vector<double>&, std::string&);
template bool parseNumberList(const String&, std::vector<uint32>&, std::string&);

} // namespace zor::host
