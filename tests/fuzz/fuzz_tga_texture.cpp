// A TGA image decoded into an engine texture, as textures out of resource libraries are, then
// converted into each layout the device offers. The first input byte picks the name's flags.

#include "engine/EngineLog.h"
#include "engine/Texture.h"
#include "engine/TextureSurface.h"
#include "platform/raster/Texture.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static const bool logOff = [] {
        SetEngineLogFile("/dev/null");
        return true;
    }();
    (void)logOff;
    static const char* const kNames[] = {"plain.tga", "glass!x.tga", "glass!07@.tga", "glass!99.tga"};
    const char* name = kNames[data[0] & 3];
    const std::uint8_t* image = data + 1;
    const std::size_t imageSize = size - 1;
    // Keep each run quick: the decoder's own size limit is tested, not the allocator.
    if (imageSize >= 16) {
        const long long width = image[12] | (image[13] << 8), height = image[14] | (image[15] << 8);
        if (width * height > 128 * 128)
            return 0;
    }

    CTexture texture;
    texture.LoadFromMemory(imageSize ? image : nullptr, imageSize, name);
    std::vector<TextureFormatRecord> records;
    for (const auto& layout : {plat::gfx2d::kFormat565, plat::gfx2d::kFormatArgb1555,
                               plat::gfx2d::kFormatArgb4444, plat::gfx2d::kFormatArgb8888})
        EnumTextureFormat(records, layout);
    const TextureFormatRecord& record = GetBestTextureFormat(
        records, texture.GetFormat(), (texture.GetFlags() & 0x10) != 0, (texture.GetFlags() & 0x4) != 0);
    plat::raster::Texture surface(texture.GetWidth(), texture.GetHeight(), record.format);
    const auto lock = surface.LockPixels();
    FillTextureSurface(record, lock.bytes, lock.pitchBytes, texture);
    surface.Unlock();
    return 0;
}
