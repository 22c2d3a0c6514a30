#pragma once

#include <cstddef>
#include <cstdio>

namespace zentrix {

/// A thin file object over a buffered stream, opened with a C open mode on a game path. In text mode
/// CR LF reads as LF. Every operation on a closed file does nothing and returns 0.
class CDiskFile {
public:
    CDiskFile() = default;
    ~CDiskFile();
    CDiskFile(const CDiskFile&) = delete;
    CDiskFile& operator=(const CDiskFile&) = delete;

    /// Opens the file with a mode such as "r", "rb", "w", "wb", "a"; true when it opened.
    bool Open(const char* name, const char* mode);
    /// Closes the stream.
    void Close();
    /// Reads up to `count` bytes; the number read.
    std::size_t Read(void* buffer, std::size_t count);
    /// Writes `count` bytes; the number written.
    std::size_t Write(const void* buffer, std::size_t count);
    /// Reads one line of at most capacity - 1 characters, keeping its newline; null at the end.
    char* GetLine(char* buffer, int capacity);
    /// GetLine, then the newline cut off.
    char* ReadLine(char* buffer, int capacity);
    /// True at the end of the file, and when no file is open.
    bool IsEOF() const;
    /// Writes the text as it stands; the number of bytes written.
    int Print(const char* text);
    /// True while a file is open.
    bool IsOpen() const { return m_stream != nullptr; }
    /// Moves the position (origin SEEK_SET, SEEK_CUR or SEEK_END); 0 on success.
    int Seek(long offset, int origin);
    /// Commits the stream to disk; 0 on success.
    int Flush();
    /// Reads items as fscanf does; the number of items read.
    int Scan(const char* format, ...) __attribute__((format(scanf, 2, 3)));

private:
    std::FILE* m_stream = nullptr;
};

} // namespace zentrix
