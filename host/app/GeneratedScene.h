#pragma once

#include "common/Types.h"
#include "host/io/ObjectDocument.h"

#include <cstdio>
#include <string>

namespace zor::host {

/// The scenes `zor_host generate` writes (see PileLayout.h): the pile in the box 18 cells
/// across, the wide pile of three layers, and rain, the spheres of the wide pile dropped from
/// heights four units apart so that they arrive layer after layer.
enum class GeneratedKind { Pile, WidePile, Rain };

/// The kind named "pile", "wide-pile" or "rain"; false for any other word.
bool generatedKindOf(const std::string& word, GeneratedKind& kind);

/// Writes the scene of `count` spheres of `kind` to `out` as a document of `format`, one
/// object at a time: the text is never held whole. The same arguments give the same bytes.
/// False when writing failed.
bool writeGeneratedScene(GeneratedKind kind, uint64 count, DocumentFormat format, std::FILE* out);

} // namespace zor::host
