#include "platform/raster/DepthBuffer.h"

namespace plat::raster {

void DepthBuffer::Resize(int width, int height) {
    m_width = width > 0 ? width : 0;
    m_height = height > 0 ? height : 0;
    m_values.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 1.0f);
}

} // namespace plat::raster
