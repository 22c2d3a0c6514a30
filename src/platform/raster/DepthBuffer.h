#pragma once

#include <vector>

namespace plat::raster {

/// A z-buffer of 32-bit floats, one per pixel of the render target, 0 near to 1 far.
class DepthBuffer {
public:
    /// Makes the buffer width x height, every value 1.
    void Resize(int width, int height);
    /// First value of row y.
    float* Row(int y) {
        return values_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    const float* Row(int y) const {
        return values_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    /// Value at (x, y).
    float At(int x, int y) const { return Row(y)[x]; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    std::vector<float> values_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace plat::raster
