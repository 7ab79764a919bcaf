#pragma once

#include "host/io/ObjectDocument.h"

#include <cstddef>
#include <cstdint>

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
/// its own format and read back to the same text. False when a check fails.
bool checkDocumentInput(host::DocumentFormat format, DocumentObjects objects, const std::uint8_t* data,
                        std::size_t size);

} // namespace zor::test
