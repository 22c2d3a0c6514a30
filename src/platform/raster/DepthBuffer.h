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
        return m_values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    const float* Row(int y) const {
        return m_values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    /// Value at (x, y).
    float At(int x, int y) const { return Row(y)[x]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    std::vector<float> m_values;
    int m_width = 0;
    int m_height = 0;
};

} // namespace plat::raster
