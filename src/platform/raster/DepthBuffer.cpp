#include "platform/raster/DepthBuffer.h"

namespace plat::raster {

void DepthBuffer::Resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    values_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 1.0f);
}

} // namespace plat::raster
