#pragma once

#include "host/io/ObjectDocument.h"

#include <cstddef>
#include <cstdint>

// The checks of the fuzz targets: each reads `data` as its kind of input and returns false when
// a check fails. The seed runs and the libFuzzer entry (Fuzzer.cpp) call them.

namespace zor::test {

/// The objects a document holds: each kind of file the host reads as a document makes its own.
enum class DocumentObjects {
    /// Sample objects with a variable of every type.
    Samples,
    /// A 3D scene file: scenes, elements, grid stages and the module's attributes.
    Scene3D,
    /// A 2D scene file: scenes, elements, separators and hit-test attributes.
    Scene2D,
    /// A path file: path commands.
    Path,
};

/// Reads `data` as a document of `objects` and checks what every input must give: a refusal
/// leaves exactly one log line and nothing else, and a document that is read can be written in
/// its own format and read back to the same text.
bool checkDocumentInput(host::DocumentFormat format, DocumentObjects objects, const std::uint8_t* data,
                        std::size_t size);

/// Reads `data` as SVG path data and checks what every input must give: a refusal names a
/// column inside the data (or just past it) and changes nothing, and a path that is read comes
/// back the same when written and read again.
bool checkSvgPathInput(const std::uint8_t* data, std::size_t size);

/// Reads `data` as a hit-test points file and checks it: a refusal writes one log line, and the
/// points accepted, written back out one per line, read back the same.
bool checkPointsInput(const std::uint8_t* data, std::size_t size);

/// Reads `data` as zor_host's command line (arguments separated by NUL bytes) and checks it: a
/// refusal names the problem, an accepted line hands on exactly the arguments from the first
/// that is not an option, and nothing is logged either way. The operands of simulate and
/// hittest then go through the command's own parser: a refusal is one printable line, an
/// accepted request holds values the command can run with.
bool checkHostArgumentsInput(const std::uint8_t* data, std::size_t size);

/// Reads `data` as a small scene description (bodies of every shape, masses, materials and
/// locks, a grid stage with lifts, the number type), steps the scene a few times once with the
/// pair finder that passes over pairs apart and once asking the detector about every pair, and
/// compares the bits of every position, rotation and speed.
bool checkCollisionStageInput(const std::uint8_t* data, std::size_t size);

} // namespace zor::test
