#pragma once

namespace zentrix {

/// Small utilities shared by the whole program.

/// A copy of the text in a new heap block (length + 1 bytes) that the caller frees with free();
/// null for a null text or when the heap fails.
char* StrDup(const char* text);

/// Ends the text at its first newline character, if any.
void CutAtNewline(char* text);

/// The low 32 bits of a monotonic nanosecond counter, as a non-negative value; it wraps, so callers
/// take differences of nearby readings.
double GetCycleCount();

} // namespace zentrix
