#include "common/log/QualifiedFunctionName.h"

#include <string_view>

namespace zor {
namespace {

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Replaces every whole-word `parameter` in `name` with `value`. Each step consumes at least one
// character of `name`: an empty parameter name matches nothing.
std::string_view substituted(std::string_view name, std::string_view parameter, std::string_view value,
                             char* scratch, std::size_t capacity) {
    std::size_t written = 0;
    auto put = [&](std::string_view piece) {
        for (char c : piece)
            if (written + 1 < capacity)
                scratch[written++] = c;
    };
    for (std::size_t i = 0; i < name.size();) {
        const bool starts =
            !parameter.empty() && name.compare(i, parameter.size(), parameter) == 0 &&
            (i == 0 || !isIdentifierChar(name[i - 1])) &&
            (i + parameter.size() == name.size() || !isIdentifierChar(name[i + parameter.size()]));
        if (starts && (i > 0 && (name[i - 1] == '<' || name[i - 1] == ' ' || name[i - 1] == ','))) {
            put(value);
            i += parameter.size();
        } else {
            put(name.substr(i, 1));
            ++i;
        }
    }
    scratch[written] = '\0';
    return {scratch, written};
}

} // namespace

void qualifiedFunctionName(const char* functionSignature, char* out, std::size_t capacity) {
    if (capacity == 0)
        return;
    std::string_view signature(functionSignature);
    std::string_view arguments;
    if (const auto with = signature.find(" [with "); with != std::string_view::npos) {
        arguments = signature.substr(with + 7);
        if (!arguments.empty() && arguments.back() == ']')
            arguments.remove_suffix(1);
        signature = signature.substr(0, with);
    }

    // The name ends at the parameter list and starts after the return type.
    std::size_t end = signature.size();
    int depth = 0;
    for (std::size_t i = 0; i < signature.size(); ++i) {
        if (signature[i] == '<')
            ++depth;
        else if (signature[i] == '>')
            --depth;
        else if (signature[i] == '(' && depth == 0) {
            end = i;
            break;
        }
    }
    std::size_t start = end;
    depth = 0;
    while (start > 0) {
        const char c = signature[start - 1];
        if (c == '>')
            ++depth;
        else if (c == '<')
            --depth;
        else if (depth == 0 && (c == ' ' || c == '*' || c == '&'))
            break;
        --start;
    }
    std::string_view name = signature.substr(start, end - start);

    char buffers[2][512];
    int current = 0;
    while (!arguments.empty()) {
        const auto separator = arguments.find("; ");
        const std::string_view assignment = arguments.substr(0, separator);
        arguments =
            separator == std::string_view::npos ? std::string_view{} : arguments.substr(separator + 2);
        const auto equals = assignment.find(" = ");
        if (equals == std::string_view::npos)
            continue;
        name = substituted(name, assignment.substr(0, equals), assignment.substr(equals + 3),
                           buffers[current], sizeof buffers[current]);
        current ^= 1;
    }
    const std::size_t length = name.size() < capacity - 1 ? name.size() : capacity - 1;
    name.copy(out, length);
    out[length] = '\0';
}

} // namespace zor
