#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace zentrix {

/// A file object that keeps its file name and reports misuse of a closed file through ReportError.
/// It can be registered in the library's list of open files (OpenFileList.h).
class CNamedFile {
public:
    CNamedFile() = default;
    ~CNamedFile();
    CNamedFile(const CNamedFile&) = delete;
    CNamedFile& operator=(const CNamedFile&) = delete;

    /// Opens the file with a C open mode and keeps a copy of the name; true when it opened.
    bool Open(const char* name, const char* mode);
    /// Closes the stream and forgets the name.
    void Close();
    /// Reads up to `count` bytes; the number read.
    std::size_t Read(void* buffer, std::size_t count);
    /// Writes `count` bytes; the number written.
    std::size_t Write(const void* buffer, std::size_t count);
    /// Reads one line of at most capacity - 1 characters, keeping its newline; null at the end.
    char* GetLine(char* buffer, int capacity);
    /// Moves the position (origin SEEK_SET, SEEK_CUR or SEEK_END); 0 on success.
    int Seek(long offset, int origin);
    /// Commits the stream to disk; 0 on success.
    int Flush();
    /// The file's size in bytes.
    long GetSize();
    /// Writes the text as it stands; the number of bytes written.
    int Print(const char* text);
    /// True while a file is open.
    bool IsOpen() const { return m_stream != nullptr; }
    /// The name the file was opened with; empty when closed.
    const std::string& GetName() const { return m_name; }

private:
    std::string m_name;
    std::FILE* m_stream = nullptr;
};

} // namespace zentrix
