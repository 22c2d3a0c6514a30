#include "platform/print/Printer.h"

#include <algorithm>

namespace plat::print {

RgbPicture RgbPicture::Filled(int width, int height, std::uint8_t red, std::uint8_t green,
                              std::uint8_t blue) {
    RgbPicture picture;
    if (width <= 0 || height <= 0)
        return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(std::size_t(width) * height * 3);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 3) {
        picture.pixels[i] = red;
        picture.pixels[i + 1] = green;
        picture.pixels[i + 2] = blue;
    }
    return picture;
}

bool RgbPicture::IsValid() const {
    return width > 0 && height > 0 && pixels.size() == std::size_t(width) * height * 3;
}

std::vector<JobOption> PageJobOptions(const std::string& medium, bool landscape) {
    // The printing protocol's orientations: 3 portrait, 4 landscape.
    return {{"media", medium}, {"orientation-requested", landscape ? "4" : "3"}, {"print-scaling", "none"}};
}

RgbPicture ComposePage(PageSize page, const RgbPicture& picture, const gfx2d::Rect& onPage) {
    RgbPicture out = RgbPicture::Filled(page.width, page.height, 255, 255, 255);
    if (!out.IsValid() || !picture.IsValid() || onPage.IsEmpty())
        return out;
    const gfx2d::Rect visible = gfx2d::Rect::FromSize({page.width, page.height}).Intersect(onPage);
    if (visible.IsEmpty())
        return out;
    const std::int64_t w = onPage.Width();
    const std::int64_t h = onPage.Height();
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int sy = static_cast<int>((std::int64_t(y - onPage.top) * picture.height) / h);
        for (int x = visible.left; x < visible.right; ++x) {
            const int sx = static_cast<int>((std::int64_t(x - onPage.left) * picture.width) / w);
            std::copy_n(picture.At(sx, sy), 3, out.At(x, y));
        }
    }
    return out;
}

} // namespace plat::print
