#include "host/simulate/ReplayViewer.h"

#include "host/io/MarkupText.h"

namespace zor::host {

namespace {

// JSON text that cannot end the script element holding it: in valid JSON a '<' stands only
// inside strings, where \u003c reads back as the same character.
std::string scriptSafe(std::string_view json) {
    std::string safe;
    safe.reserve(json.size());
    for (char c : json)
        safe += c == '<' ? std::string_view("\\u003c") : std::string_view(&c, 1);
    return safe;
}

} // namespace

std::string replayViewerPage(std::string_view runJson, std::string_view title) {
    const std::string values[] = {xmlText(title), std::string(viewer::kStyle), scriptSafe(runJson),
                                  std::string(viewer::kThree), std::string(viewer::kScript)};
    const std::string_view names[] = {"{{title}}", "{{style}}", "{{run}}", "{{three}}", "{{script}}"};
    // One pass over the template: what is put in is never searched for places.
    std::string page;
    std::string_view rest = viewer::kTemplate;
    for (std::size_t open = rest.find("{{"); open != std::string_view::npos; open = rest.find("{{")) {
        page += rest.substr(0, open);
        rest = rest.substr(open);
        std::size_t which = 0;
        while (which < std::size(names) && !rest.starts_with(names[which]))
            ++which;
        if (which == std::size(names)) {
            page += "{{";
            rest = rest.substr(2);
            continue;
        }
        page += values[which];
        rest = rest.substr(names[which].size());
    }
    return page + std::string(rest);
}

} // namespace zor::host
