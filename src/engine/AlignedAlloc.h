#pragma once

#include <cstddef>

namespace zentrix {

/// A block of `size` bytes starting on a 32-byte boundary; null when memory runs out.
void* AlignedAlloc(std::size_t size);
/// Frees a block of AlignedAlloc (null is ignored).
void AlignedFree(void* block);

} // namespace zentrix
