#pragma once

#include <cstddef>

namespace zentrix {

/// The program's memory bookkeeping: the block-tracking table that exists from VeltrinStartup to
/// VeltrinShutdown and is reported at shutdown, the memory-message handlers, and Realloc. The game
/// allocates from the ordinary heap; only the debug-memory allocations below enter the table.

/// Receives the memory texts (the leak report); by default the debugger output.
using MemoryTextHandler = void (*)(const char* text);
/// Receives memory errors with their source position and code; by default formats them for the text handler.
using MemoryErrorHandler = void (*)(const char* text, const char* file, int line, int code);
/// The allocation Realloc draws from; replaceable so a failing heap can be simulated.
using AllocateFunction = void* (*)(std::size_t size);

/// Code of a failed debug-memory allocation.
constexpr int kAllocationFailedCode = 261;
/// Code of a pointer the table does not know.
constexpr int kUnknownPointerCode = 260;

/// Replaces the memory text handler (null restores the default); returns the handler now in place.
MemoryTextHandler SetMemoryTextHandler(MemoryTextHandler handler);
/// Replaces the memory error handler (null restores the default); returns the handler now in place.
MemoryErrorHandler SetMemoryErrorHandler(MemoryErrorHandler handler);
/// Replaces the allocation Realloc uses (null restores malloc); returns the previous one.
AllocateFunction SetAllocateFunction(AllocateFunction allocate);

/// Creates the tracking table (111 buckets of 512 records); part of VeltrinStartup.
void StartMemoryTracking();
/// Sends the leak report to the text handler and releases the table; part of VeltrinShutdown.
void StopMemoryTracking();

/// A fresh block of `size` bytes holding the first min(old size, size) bytes of `block`, which is freed.
/// A null block gives a plain allocation. When the allocation fails: null, and `block` is left as it was.
/// Blocks handed in must come from malloc.
void* Realloc(void* block, std::size_t size);

/// Debug-memory allocation: a block with 8 guard bytes on each side, entered in the tracking table
/// with the caller's flags and source position. Null (and a 261 memory error) when the heap fails.
void* DebugAlloc(std::size_t size, unsigned flags, const char* file, int line);
/// Frees a debug-memory block; an unknown pointer is reported (260) and left alone.
void DebugFree(void* block, const char* file, int line);
/// True when the block is tracked and its guard bytes are whole; reports an unknown pointer (260).
bool ValidatePointer(const void* block, const char* file, int line);
/// Number of blocks in the tracking table.
std::size_t TrackedBlockCount();

} // namespace zentrix
