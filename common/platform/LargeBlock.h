#pragma once

// Memory in blocks of one large page, for allocators that keep many small objects together.

#include <cstddef>

namespace zor::platform {

/// The size and the alignment of a large block: one large page where the system has them.
inline constexpr std::size_t kLargeBlockSize = std::size_t{2} << 20;

/// A block of kLargeBlockSize bytes aligned to its size, which the system is asked to back with
/// one large page where it can (on Linux, transparent huge pages where they are given on
/// request), so that walks over the objects in it miss the address cache once per block rather
/// than once per small page; null when memory is exhausted.
void* allocateLargeBlock();

/// Returns a block that allocateLargeBlock gave.
void freeLargeBlock(void* block);

/// Asks the system to back the large pages that lie whole within `size` bytes from `start`
/// with large pages where it can, before they are first written: a large buffer filled at once
/// then takes a few page faults instead of one for each small page. Only advice; nothing where
/// the system has no such request.
void adviseLargePages(void* start, std::size_t size);

} // namespace zor::platform
