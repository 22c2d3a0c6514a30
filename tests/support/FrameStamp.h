#pragma once

#include <cstdint>

namespace testsupport {

/// The bit of a 5-6-5 pixel that carries a bit of the frame's number: the lowest green bit.
constexpr std::uint16_t kFrameStampBit = 0x20;

/// The number a sample video's frame (tools/mkdata, `StampFrameNumber`) carries where it is shown with its
/// top-left corner at (x, y): bit i is the lowest green bit of the 5-6-5 pixel (x + i % 4, y + i / 4).
/// `pixel(x, y)` gives a pixel of the picture the frame is shown on.
template <typename PixelAt> int StampedFrameNumber(const PixelAt& pixel, int x = 0, int y = 0) {
    int number = 0;
    for (int bit = 0; bit < 16; ++bit)
        if (static_cast<std::uint16_t>(pixel(x + bit % 4, y + bit / 4)) & kFrameStampBit)
            number |= 1 << bit;
    return number;
}

} // namespace testsupport
