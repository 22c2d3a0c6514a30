#include "foundation/base/NamedFile.h"

#include "foundation/base/Messages.h"
#include "foundation/base/StreamOps.h"
#include "platform/fs/FileSystem.h"

namespace zentrix {

CNamedFile::~CNamedFile() {
    Close();
}

bool CNamedFile::Open(const char* name, const char* mode) {
    Close();
    if (!name || !mode)
        return false;
    m_stream = plat::fs::OpenStream(name, mode);
    if (m_stream)
        m_name = name;
    return m_stream != nullptr;
}

void CNamedFile::Close() {
    if (m_stream)
        std::fclose(m_stream);
    m_stream = nullptr;
    m_name.clear();
}

std::size_t CNamedFile::Read(void* buffer, std::size_t count) {
    if (!m_stream) {
        ReportError("Cannot Read from closed file\n");
        return 0;
    }
    return std::fread(buffer, 1, count, m_stream);
}

std::size_t CNamedFile::Write(const void* buffer, std::size_t count) {
    if (!m_stream) {
        ReportError("Cannot Write to closed file\n");
        return 0;
    }
    return std::fwrite(buffer, 1, count, m_stream);
}

char* CNamedFile::GetLine(char* buffer, int capacity) {
    if (!m_stream) {
        ReportError("Cannot Get from closed file\n");
        return nullptr;
    }
    return stream_ops::GetLine(m_stream, buffer, capacity);
}

int CNamedFile::Seek(long offset, int origin) {
    if (!m_stream) {
        ReportError("Cannot Seek on closed file\n");
        return 0;
    }
    return std::fseek(m_stream, offset, origin);
}

int CNamedFile::Flush() {
    if (!m_stream) {
        ReportError("Cannot Commit to closed file\n");
        return 0;
    }
    return stream_ops::Commit(m_stream);
}

long CNamedFile::GetSize() {
    if (!m_stream) {
        ReportError("Cannot GetSize closed file\n");
        return 0;
    }
    return stream_ops::Size(m_stream);
}

int CNamedFile::Print(const char* text) {
    if (!m_stream) {
        ReportError("Cannot Print to closed file\n");
        return 0;
    }
    return stream_ops::Print(m_stream, text);
}

} // namespace zentrix
