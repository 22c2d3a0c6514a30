#pragma once

#include <cstdio>

namespace zentrix {

/// Stream operations the two file objects share.
namespace stream_ops {

/// fgets with the capacity checked: null for a closed stream, a capacity below 1 or the end.
char* GetLine(std::FILE* stream, char* buffer, int capacity);
/// Writes the text as it stands; bytes written, 0 for a closed stream or a null text.
int Print(std::FILE* stream, const char* text);
/// Flushes the stream and the file under it to disk; 0 on success.
int Commit(std::FILE* stream);
/// The size of the stream's file in bytes, its position kept; 0 when it cannot be told.
long Size(std::FILE* stream);

} // namespace stream_ops

} // namespace zentrix
