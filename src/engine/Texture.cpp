#include "engine/Texture.h"

#include "engine/DisplayDevice.h"
#include "engine/EngineLog.h"
#include "engine/TexturePixel.h"
#include "engine/TextureSurface.h"
#include "foundation/base/Messages.h"
#include "platform/fs/FileSystem.h"
#include "platform/gfx2d/TgaImage.h"
#include "platform/raster/Texture.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace zentrix {

namespace {

// The ramp that fills an image the reader cannot decode: pixel i holds i x 73 as a 16-bit value.
std::vector<std::uint8_t> Ramp(std::size_t pixelCount) {
    std::vector<std::uint8_t> pixels(pixelCount * 2);
    for (std::size_t i = 0; i < pixelCount; ++i) {
        const auto v = static_cast<std::uint16_t>(i * 73);
        pixels[2 * i] = static_cast<std::uint8_t>(v);
        pixels[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return pixels;
}

std::uint32_t g_texturesMade = 0;

} // namespace

CTexture::CTexture() : m_order(++g_texturesMade) {}

CTexture::~CTexture() {
    if (m_locked)
        Unlock(m_lockedDevice);
    // A device must not keep a texture that is gone in its list or bound to a stage.
    if (m_deviceSurface)
        for (CDisplayDevice* device : GetDisplayDevices())
            ReleaseTextureSurfaces(*device, *this);
}

void CTexture::SetName(const char* name) {
    if (name)
        m_name = CDStr(name);
    else
        m_name.reset();
}

void CTexture::SetImage(int width, int height, std::uint32_t format, std::vector<std::uint8_t> pixels) {
    m_width = width;
    m_height = height;
    m_format = format;
    m_pixels = std::move(pixels);
}

void CTexture::MakePlaceholder() {
    SetImage(kPlaceholderSide, kPlaceholderSide, kFormat5550, Ramp(kPlaceholderSide * kPlaceholderSide));
}

void CTexture::LoadTGA(const char* fileName) {
    const plat::fs::ReadResult file = plat::fs::ReadWholeFile(fileName ? fileName : "");
    if (file.error == plat::fs::Error::kNotFound || file.error == plat::fs::Error::kPathNotFound) {
        EngineLog("CTexture::LoadTGA", "Failed to open TGA: %s", fileName ? fileName : "");
        MakePlaceholder();
        return;
    }
    if (file.error != plat::fs::Error::kNone) {
        EngineLog("CTexture::LoadTGA", "Corrupt TGA: %s\n", fileName ? fileName : "");
        MakePlaceholder();
        return;
    }
    LoadFromMemory(file.bytes.data(), file.bytes.size(), fileName);
}

void CTexture::LoadFromMemory(const std::uint8_t* data, std::size_t size, const char* name) {
    if (data == nullptr) {
        MakePlaceholder();
        return;
    }
    if (!DecodeTga(data, size)) {
        EngineLog("LoadTGA", "Corrupt TGA: %s\n", name ? name : "");
        MakePlaceholder();
        return;
    }
    ReadNameFlags(name);
}

bool CTexture::DecodeTga(const std::uint8_t* data, std::size_t size) {
    plat::gfx2d::TgaImage tga;
    if (!tga.ReadHeader(data, size) || tga.width == 0 || tga.height == 0)
        return false;
    switch (tga.Decode(data, size, kMaxSide)) {
    case plat::gfx2d::TgaImage::Result::Ok: {
        const std::uint32_t format =
            tga.depth == 24 ? kFormat8880 : (tga.depth == 32 ? kFormat8888 : kFormat5550);
        SetImage(tga.width, tga.height, format, std::move(tga.pixels));
        break;
    }
    case plat::gfx2d::TgaImage::Result::Unsupported:
        EngineLog("LoadTGA", "TGA is an invalid pixel format\n");
        // The ramp is a 16-bit image, so it gets a 16-bit format whatever the header said.
        SetImage(tga.width, tga.height, kFormat5550,
                 Ramp(static_cast<std::size_t>(tga.width) * static_cast<std::size_t>(tga.height)));
        break;
    default:
        return false;
    }

    m_flags &= ~(kTexTranslucent | kTexKeyed);
    if (m_format == kFormat4444 || m_format == kFormat5551 || m_format == kFormat8888) {
        m_flags |= kTexTranslucent;
    } else {
        for (int y = 0; y < m_height && !(m_flags & kTexKeyed); ++y)
            for (int x = 0; x < m_width; ++x) {
                std::uint8_t r, g, b, a;
                GetTexturePixel(x, y, m_width, m_pixels.data(), m_format, r, g, b, a);
                if (a == 0) {
                    m_flags |= kTexKeyed;
                    break;
                }
            }
    }
    return true;
}

void CTexture::ReadNameFlags(const char* name) {
    const char* bang = name ? std::strchr(name, '!') : nullptr;
    if (!bang)
        return;
    m_flags |= kTexTranslucent;
    if (std::strchr(name, '@'))
        m_flags |= kTexAdditive;
    if (std::isdigit(static_cast<unsigned char>(bang[1])) &&
        std::isdigit(static_cast<unsigned char>(bang[2]))) {
        const int n = (bang[1] - '0') * 10 + (bang[2] - '0');
        m_alphaLevel = n <= 15 ? n * 17 : -1;
        m_flags |= kTexAlphaLevel;
    } else {
        m_alphaLevel = 2;
    }
}

void CTexture::Lock(CDisplayDevice* device, LockRecord& out) {
    if (m_locked) {
        TraceMessage("Texture already locked");
        out.status = -1;
        return;
    }
    out.status = 0;
    m_locked = true;
    if (device && m_deviceSurface) {
        const plat::raster::Texture::Lock lock = m_deviceSurface->LockPixels();
        m_lockedDevice = device;
        out.bits = lock.bytes;
        out.pitch = lock.pitchBytes;
        return;
    }
    m_lockedDevice = nullptr;
    out.bits = GetPixels();
    out.pitch = m_format ? GetTextureBPP(m_format) * m_width : 0;
}

void CTexture::Unlock(CDisplayDevice* /*device*/) {
    if (!m_locked)
        return;
    m_locked = false;
    if (!m_deviceSurface)
        return; // nothing on a device to bring up to date
    if (m_lockedDevice == nullptr) {
        const plat::raster::Texture::Lock lock = m_deviceSurface->LockPixels();
        FillTextureSurface(m_surfaceFormat, lock.bytes, lock.pitchBytes, *this);
    }
    m_deviceSurface->Unlock();
    m_lockedDevice = nullptr;
}

void CTexture::SetDeviceSurface(std::unique_ptr<plat::raster::Texture> surface,
                                const TextureFormatRecord& format) {
    m_deviceSurface = std::move(surface);
    m_surfaceFormat = format;
}

void CTexture::ReleaseSurfaces() {
    m_deviceSurface.reset();
}

} // namespace zentrix
