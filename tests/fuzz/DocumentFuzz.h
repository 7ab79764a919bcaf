#pragma once

#include "host/io/ObjectDocument.h"

#include <cstddef>
#include <cstdint>

namespace zor::test {

/// Reads `data` as a document of sample objects and checks what every input must give: a
/// refusal leaves exactly one log line and nothing else, and a document that is read can be
/// written in its own format and read back to the same text. False when a check fails.
bool checkDocumentInput(host::DocumentFormat format, const std::uint8_t* data, std::size_t size);

/// checkDocumentInput for a 3D scene file: the scene, its elements and grid stages and the
/// module's attributes, made as a scene file's reader makes them.
bool checkSceneDocumentInput(host::DocumentFormat format, const std::uint8_t* data, std::size_t size);

} // namespace zor::test
