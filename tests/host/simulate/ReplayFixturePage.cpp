// Writes the replay page for a run given as JSON, for the browser test's hand-made runs:
//   zor_replay_fixture RUN.json PAGE.html
#include "host/simulate/ReplayViewer.h"

#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    std::ifstream in(argv[1], std::ios::binary);
    const std::string json{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::ofstream out(argv[2], std::ios::binary);
    out << zor::host::replayViewerPage(json, argv[1]);
    return in && out ? 0 : 1;
}
