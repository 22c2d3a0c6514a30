#include "engine/TextureHelpers.h"

#include <cstring>

namespace zentrix {

bool IsAlphaFormat(std::uint32_t format) {
    return format == 0x4444 || format == 0x5551 || format == 0x8888;
}

bool TextureReadBytes(void* destination, TextureSource& source, std::size_t n, bool restart) {
    if (restart)
        source.position = 0;
    if (source.position > source.size || n > source.size - source.position)
        return false;
    if (n > 0)
        std::memcpy(destination, source.data + source.position, n);
    source.position += n;
    return true;
}

} // namespace zentrix
