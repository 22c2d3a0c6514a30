// Picture data into a surface, as the picture loaders do: a surface sized from the header, then the
// whole image loaded into it. The first input byte picks the surface's format and how much smaller
// than the picture it is, so too-small and 5-5-5 surfaces are tried too.

#include "platform/gfx2d/SurfaceFactory.h"
#include "render/SurfaceMan.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t choice = data[0];
    std::vector<std::uint8_t> image(data + 1, data + size);
    int width = 0;
    int height = 0;
    if (image.size() >= CSurfaceMan::kTgaHeaderSize) {
        width = image[12] | (image[13] << 8);
        height = image[14] | (image[15] << 8);
    }
    // Keep each run quick: the loader's own limits are tested, not the allocator.
    if (width > 512 || height > 512)
        return 0;
    width -= choice & 3;
    height -= (choice >> 2) & 3;
    plat::gfx2d::MemorySurfaceFactory factory;
    CSurfaceMan surfaces(factory);
    const plat::gfx2d::PixelFormat* format = (choice & 0x10) ? &plat::gfx2d::kFormat555 : nullptr;
    auto surface = surfaces.CreateDDSurface(width, height, format, true, false);
    surfaces.LoadTGAToSurface(std::move(image), surface.get());
    return 0;
}
