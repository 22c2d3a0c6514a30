#include "foundation/base/StreamOps.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix {

namespace stream_ops {

char* GetLine(std::FILE* stream, char* buffer, int capacity) {
    if (!stream || !buffer || capacity < 1)
        return nullptr;
    return std::fgets(buffer, capacity, stream);
}

int Print(std::FILE* stream, const char* text) {
    if (!stream || !text)
        return 0;
    return static_cast<int>(std::fwrite(text, 1, std::strlen(text), stream));
}

int Commit(std::FILE* stream) {
    if (std::fflush(stream) != 0)
        return -1;
    int fd = fileno(stream); // text streams have none; their flush reaches the file already
    return fd >= 0 && fsync(fd) != 0 ? -1 : 0;
}

long Size(std::FILE* stream) {
    struct stat st {};
    if (fileno(stream) >= 0 && fstat(fileno(stream), &st) == 0)
        return static_cast<long>(st.st_size);
    long here = std::ftell(stream);
    if (here < 0 || std::fseek(stream, 0, SEEK_END) != 0)
        return 0;
    long size = std::ftell(stream);
    std::fseek(stream, here, SEEK_SET);
    return size < 0 ? 0 : size;
}

} // namespace stream_ops

} // namespace zentrix
