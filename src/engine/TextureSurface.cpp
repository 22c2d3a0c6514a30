#include "engine/TextureSurface.h"

#include "engine/DisplayDevice.h"
#include "engine/EngineLog.h"
#include "engine/Texture.h"
#include "engine/TexturePixel.h"
#include "foundation/base/FatalError.h"
#include "foundation/base/Messages.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/raster/Device.h"
#include "platform/raster/Texture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zentrix {

using plat::raster::RenderState;
using plat::raster::StageState;
using plat::raster::TextureAddress;

namespace {

struct Wanted {
    int bits[4]; // red, green, blue, alpha
    bool alpha;
};

bool WantedBits(std::uint32_t format, Wanted& w) {
    switch (format) {
    case kFormat5650:
        w = {{5, 6, 5, 0}, false};
        return true;
    case kFormat5550:
        w = {{5, 5, 5, 0}, false};
        return true;
    case kFormat8880:
        w = {{8, 8, 8, 0}, false};
        return true;
    case kFormat8888:
        w = {{8, 8, 8, 8}, true};
        return true;
    case kFormat4444:
        w = {{4, 4, 4, 4}, true};
        return true;
    case kFormat5551:
        w = {{5, 5, 5, 1}, true};
        return true;
    default:
        return false;
    }
}

// Index of the best record for one pass; -1 when every record was skipped.
int BestRecord(const std::vector<TextureFormatRecord>& records, const Wanted& w, bool shortfallOnly) {
    int best = -1;
    int bestScore = 255;
    const int channels = w.alpha ? 4 : 3;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TextureFormatRecord& r = records[i];
        if ((r.alphaMask != 0) != w.alpha)
            continue;
        const int present[4] = {r.redBits, r.greenBits, r.blueBits, r.alphaBits};
        bool skip = false, exact = true;
        int score = 0;
        for (int c = 0; c < channels; ++c) {
            const int diff = w.bits[c] - present[c];
            if (shortfallOnly && diff < 0)
                skip = true;
            exact = exact && diff == 0;
            score = std::max(score, std::abs(diff));
        }
        if (skip)
            continue;
        if (shortfallOnly && exact)
            return static_cast<int>(i);
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

std::uint32_t PackChannel(std::uint8_t c, int bits, int shift, std::uint32_t mask) {
    return bits == 0 ? 0 : ((static_cast<std::uint32_t>(c) >> (8 - bits)) << shift) & mask;
}

bool IsKeyColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return r == 255 && g == 0 && b == 255;
}

} // namespace

const TextureFormatRecord& GetBestTextureFormat(const std::vector<TextureFormatRecord>& records,
                                                std::uint32_t format, bool keyed, bool translucent) {
    Wanted w{};
    if (records.empty() || !WantedBits(format, w))
        FatalError("No texture format for %x", format);
    if (translucent) {
        w.alpha = true;
        w.bits[3] = std::max({w.bits[0], w.bits[1], w.bits[2]});
    } else if (keyed) {
        w.alpha = true;
        w.bits[3] = 1;
    }
    int best = BestRecord(records, w, true);
    if (best < 0)
        best = BestRecord(records, w, false);
    if (best < 0)
        FatalError("No texture format matches %x", format);
    return records[static_cast<std::size_t>(best)];
}

const TextureFormatRecord& GetBestTextureFormat(const CDisplayDevice& device, std::uint32_t format,
                                                bool keyed, bool translucent) {
    return GetBestTextureFormat(device.TextureFormats(), format, keyed, translucent);
}

const TextureFormatRecord& PickTextureFormat(const CDisplayDevice& device, const CTexture& texture) {
    return GetBestTextureFormat(device, texture.GetFormat(), (texture.GetFlags() & kTexKeyed) != 0,
                                (texture.GetFlags() & kTexTranslucent) != 0);
}

bool IsStraightCopy(const TextureFormatRecord& r, const CTexture& texture) {
    if (texture.GetFlags() & kTexKeyed)
        return false;
    auto is = [&](int bytes, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                  std::uint32_t alpha) {
        return r.bytesPerPixel == bytes && r.redMask == red && r.greenMask == green && r.blueMask == blue &&
               r.alphaMask == alpha;
    };
    switch (texture.GetFormat()) {
    case kFormat5650:
        return is(2, 0xF800, 0x07E0, 0x001F, 0);
    case kFormat5550:
        return is(2, 0x7C00, 0x03E0, 0x001F, 0);
    case kFormat4444:
        return is(2, 0x0F00, 0x00F0, 0x000F, 0xF000);
    case kFormat8880:
        return is(3, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    case kFormat8888:
        return is(4, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000);
    default:
        return false;
    }
}

void FillTextureSurface(const TextureFormatRecord& r, std::uint8_t* bits, int pitch,
                        const CTexture& texture) {
    const std::uint8_t* pixels = texture.GetPixels();
    if (pixels == nullptr || bits == nullptr) {
        TraceMessage("Texture has no pixels to fill a surface with");
        return;
    }
    const int width = texture.GetWidth(), height = texture.GetHeight();
    const std::uint32_t format = texture.GetFormat();
    const bool formatHasAlpha = format == kFormat4444 || format == kFormat5551 || format == kFormat8888;
    const bool alphaFromColour = !formatHasAlpha && (texture.GetFlags() & kTexTranslucent);
    if (!alphaFromColour && IsStraightCopy(r, texture)) {
        const std::size_t rowBytes =
            static_cast<std::size_t>(width) * static_cast<std::size_t>(r.bytesPerPixel);
        for (int y = 0; y < height; ++y)
            std::memcpy(bits + static_cast<std::ptrdiff_t>(y) * pitch,
                        pixels + rowBytes * static_cast<std::size_t>(y), rowBytes);
        return;
    }
    if (r.bytesPerPixel < 2 || r.bytesPerPixel > 4) {
        EngineLog("Fill Texture Surface", "Unknown bpp (%d) in texture\n", r.bytesPerPixel);
        return;
    }
    const int level = texture.GetAlphaLevel();
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = bits + static_cast<std::ptrdiff_t>(y) * pitch;
        for (int x = 0; x < width; ++x, out += r.bytesPerPixel) {
            std::uint8_t red, green, blue, alpha;
            GetTexturePixel(x, y, width, pixels, format, red, green, blue, alpha);
            if (IsKeyColour(red, green, blue)) {
                // A cut-out pixel takes its neighbours' colour, so filtering shows no magenta fringe.
                int sum[3] = {0, 0, 0}, count = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = (x + dx + width) % width, ny = (y + dy + height) % height;
                        std::uint8_t nr, ng, nb, na;
                        GetTexturePixel(nx, ny, width, pixels, format, nr, ng, nb, na);
                        if (IsKeyColour(nr, ng, nb))
                            continue;
                        sum[0] += nr, sum[1] += ng, sum[2] += nb, ++count;
                    }
                red = static_cast<std::uint8_t>(count ? sum[0] / count : 0);
                green = static_cast<std::uint8_t>(count ? sum[1] / count : 0);
                blue = static_cast<std::uint8_t>(count ? sum[2] / count : 0);
                alpha = 0;
            } else if (alphaFromColour) {
                if (texture.GetFlags() & kTexAlphaLevel)
                    alpha = static_cast<std::uint8_t>(level);
                else
                    alpha =
                        static_cast<std::uint8_t>(std::max({red, green, blue}) >> std::clamp(level, 0, 8));
            }
            const std::uint32_t v = PackChannel(red, r.redBits, r.redShift, r.redMask) |
                                    PackChannel(green, r.greenBits, r.greenShift, r.greenMask) |
                                    PackChannel(blue, r.blueBits, r.blueShift, r.blueMask) |
                                    PackChannel(alpha, r.alphaBits, r.alphaShift, r.alphaMask);
            for (int b = 0; b < r.bytesPerPixel; ++b)
                out[b] = static_cast<std::uint8_t>(v >> (8 * b));
        }
    }
}

std::uint32_t ChooseTextureCompression(std::uint32_t deviceCaps, const CTexture& texture) {
    const std::uint32_t flags = texture.GetFlags();
    bool compress = true;
    if (flags & (kTexNeverCompress | kTexTranslucent))
        compress = false;
    if (flags & kTexAlwaysCompress)
        compress = true;
    if (texture.GetWidth() % 4 != 0 || texture.GetHeight() % 4 != 0 || (flags & kTexDynamic))
        compress = false;
    if (!compress)
        return 0;
    const std::uint32_t format = texture.GetFormat();
    const bool alphaLayout = format == kFormat4444 || format == kFormat5551 || format == kFormat8888;
    const std::uint32_t wanted = alphaLayout ? kDxt5 : kDxt1;
    return (deviceCaps & wanted) ? wanted : 0;
}

void CreateTextureSurface(CDisplayDevice& device, CTexture& texture) {
    if (device.GetRenderDevice() == nullptr || texture.GetDeviceSurface() != nullptr)
        return;
    auto& records = device.TextureRecords();
    if (std::find(records.begin(), records.end(), &texture) == records.end())
        records.push_back(&texture);
    const TextureFormatRecord& format = PickTextureFormat(device, texture);
    // The platform offers no compressed layouts (GetCompressionCaps is 0), so the picked layout stays.
    auto surface =
        std::make_unique<plat::raster::Texture>(texture.GetWidth(), texture.GetHeight(), format.format);
    if (!(texture.GetFlags() & kTexRenderTarget)) {
        const plat::raster::Texture::Lock lock = surface->LockPixels();
        FillTextureSurface(format, lock.bytes, lock.pitchBytes, texture);
        surface->Unlock();
    }
    texture.SetDeviceSurface(std::move(surface), format);
}

void ReleaseTextureSurfaces(CDisplayDevice& device, CTexture& texture) {
    auto& records = device.TextureRecords();
    auto it = std::find(records.begin(), records.end(), &texture);
    if (it != records.end()) {
        *it = records.back();
        records.pop_back();
    }
    for (int stage = 0; stage < CDisplayDevice::kStages; ++stage)
        device.UnbindStage(stage);
    texture.ReleaseSurfaces();
}

void ReleaseAllTextureSurfaces(CDisplayDevice& device) {
    for (int stage = 0; stage < CDisplayDevice::kStages; ++stage)
        device.UnbindStage(stage);
    for (CTexture* texture : device.TextureRecords())
        texture->ReleaseSurfaces();
    device.TextureRecords().clear();
}

void BindTexture(CDisplayDevice& device, CTexture* texture, int stage, bool setAlphaTest) {
    plat::raster::Device* d = device.GetRenderDevice();
    if (d == nullptr || stage < 0 || stage >= CDisplayDevice::kStages)
        return;
    device.SetBoundTexture(stage, texture);
    const std::uint32_t flags = texture ? texture->GetFlags() : 0;
    device.SetTextureStageState(
        stage, StageState::Address,
        static_cast<std::uint32_t>((flags & kTexClamp) ? TextureAddress::Clamp : TextureAddress::Wrap));
    if (setAlphaTest)
        device.SetRenderState(RenderState::AlphaTestEnable, (flags & kTexKeyed) ? 1 : 0);
    d->SetTexture(stage, texture ? texture->GetDeviceSurface() : nullptr);
}

std::uint32_t PackColour16(const CDisplayDevice& device, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue) {
    switch (device.GetFormatCode()) {
    case kFormat5550:
        return plat::gfx2d::PackRgb555(red, green, blue);
    case kFormat5650:
        return plat::gfx2d::PackRgb565(red, green, blue);
    default:
        DebugOutput("Unknown Pixel Format.....\n");
        return (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) | blue;
    }
}

} // namespace zentrix
