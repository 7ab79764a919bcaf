#pragma once

#include "common/application/ApplicationData.h"

namespace zor {

/// Brings up the foundation layer with the host record: adopts the record as the global one,
/// registers the foundation's variable types and compression formats, starts the socket
/// library and puts commonDeinitialize at the front of the host's tear-down list.
/// False (with a warning) only without a record.
bool commonInitialize(ApplicationData* appData);

/// The foundation's tear-down: ends the socket library.
void commonDeinitialize();

/// Makes `appData` the global host record. A different record held until now is the host's
/// previous one and is destroyed through its slot 0; the same record again changes nothing.
void adoptApplicationData(ApplicationData* appData);

/// Registers the variable allocators of the 2D path command classes, float before double.
void registerPathCommandAllocators();

/// Registers the "lz4" and "zip" compressors and decompressors with the host.
void registerCompressionCallbacks();

} // namespace zor

/// Registers the allocator of a variable type under its type name; an allocator already
/// registered under the name is kept.
void zor_addUnknownVariableAllocator(const zor::String& typeName, zor::VariableAllocator allocator);
