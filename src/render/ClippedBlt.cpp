#include "render/ClippedBlt.h"

namespace zentrix {

using plat::gfx2d::Rect;
using plat::gfx2d::Surface;

namespace {

/// The part of a source span that follows a destination span cut by `cut` pixels of `destinationSpan`.
int ScaledCut(int cut, int sourceSpan, int destinationSpan) {
    if (destinationSpan <= 0)
        return cut;
    return static_cast<int>(static_cast<long long>(cut) * sourceSpan / destinationSpan);
}

} // namespace

bool ClippedBlt(Surface* destination, const Rect* destinationRect, const Surface* source,
                const Rect* sourceRect, unsigned flags, std::uint32_t fillValue) {
    if (!destination)
        return true;
    const plat::gfx2d::Size size = destination->GetSize();
    Rect dst = destinationRect ? *destinationRect : Rect::FromSize(size);
    if (dst.left > size.width || dst.top > size.height || dst.left > dst.right || dst.top > dst.bottom)
        return true;
    Rect src = sourceRect ? *sourceRect : Rect{0, 0, dst.Width(), dst.Height()};

    // The source moves by as many source pixels as the cut destination pixels stood for.
    const int dstWidth = dst.Width(), dstHeight = dst.Height();
    const int srcWidth = src.Width(), srcHeight = src.Height();
    if (dst.left < 0) {
        src.left += ScaledCut(-dst.left, srcWidth, dstWidth);
        dst.left = 0;
    }
    if (dst.top < 0) {
        src.top += ScaledCut(-dst.top, srcHeight, dstHeight);
        dst.top = 0;
    }
    if (dst.right > size.width) {
        src.right -= ScaledCut(dst.right - size.width, srcWidth, dstWidth);
        dst.right = size.width;
    }
    if (dst.bottom > size.height) {
        src.bottom -= ScaledCut(dst.bottom - size.height, srcHeight, dstHeight);
        dst.bottom = size.height;
    }
    if (dst.IsEmpty())
        return true;
    const bool fill = (flags & plat::gfx2d::kBltColorFill) != 0;
    destination->Blt(&dst, fill ? nullptr : source, fill ? nullptr : &src, flags | plat::gfx2d::kBltDoNotWait,
                     fillValue);
    return true;
}

} // namespace zentrix
