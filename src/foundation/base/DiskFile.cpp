#include "foundation/base/DiskFile.h"

#include "foundation/base/StreamOps.h"
#include "foundation/base/Utility.h"
#include "platform/fs/FileSystem.h"

#include <cstdarg>

namespace zentrix {

CDiskFile::~CDiskFile() {
    Close();
}

bool CDiskFile::Open(const char* name, const char* mode) {
    Close();
    if (name && mode)
        m_stream = plat::fs::OpenStream(name, mode);
    return m_stream != nullptr;
}

void CDiskFile::Close() {
    if (m_stream)
        std::fclose(m_stream);
    m_stream = nullptr;
}

std::size_t CDiskFile::Read(void* buffer, std::size_t count) {
    return m_stream ? std::fread(buffer, 1, count, m_stream) : 0;
}

std::size_t CDiskFile::Write(const void* buffer, std::size_t count) {
    return m_stream ? std::fwrite(buffer, 1, count, m_stream) : 0;
}

char* CDiskFile::GetLine(char* buffer, int capacity) {
    return stream_ops::GetLine(m_stream, buffer, capacity);
}

char* CDiskFile::ReadLine(char* buffer, int capacity) {
    char* line = GetLine(buffer, capacity);
    if (line)
        CutAtNewline(line);
    return line;
}

bool CDiskFile::IsEOF() const {
    return !m_stream || std::feof(m_stream);
}

int CDiskFile::Print(const char* text) {
    return stream_ops::Print(m_stream, text);
}

int CDiskFile::Seek(long offset, int origin) {
    return m_stream ? std::fseek(m_stream, offset, origin) : 0;
}

int CDiskFile::Flush() {
    return m_stream ? stream_ops::Commit(m_stream) : 0;
}

int CDiskFile::Scan(const char* format, ...) {
    if (!m_stream)
        return 0;
    va_list args;
    va_start(args, format);
    int items = std::vfscanf(m_stream, format, args);
    va_end(args);
    return items;
}

} // namespace zentrix
