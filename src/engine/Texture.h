#pragma once

#include "engine/TextureFormat.h"
#include "foundation/string/DStr.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace plat::raster {
class Texture;
}

namespace zentrix {

class CDisplayDevice;

/// The engine's texture image in main memory: pixels in one of the engine formats (TexturePixel.h), a
/// name, flags taken from the name and the pixels, and the surfaces a display device makes for it.
class CTexture {
public:
    /// Widest and tallest image read from a file; larger ones are refused as corrupt.
    static constexpr int kMaxSide = 4096;
    /// Size of the placeholder that stands in for a missing or broken image.
    static constexpr int kPlaceholderSide = 64;

    /// What Lock hands out: the first byte, the distance between rows and a status (-1: already locked).
    struct LockRecord {
        std::uint8_t* bits = nullptr;
        int pitch = 0;
        int status = 0;
    };

    CTexture();
    ~CTexture();
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    /// Replaces the name with a copy (none for null).
    void SetName(const char* name);
    /// The name, or null.
    const char* GetName() const { return m_name ? m_name->c_str() : nullptr; }

    /// Loads a TGA file; a missing or short file gives the placeholder.
    void LoadTGA(const char* fileName);
    /// Decodes a TGA image of `size` bytes and reads the flags that `name` carries. No data gives the
    /// placeholder, and so does an image that is cut short, empty or larger than kMaxSide a side.
    void LoadFromMemory(const std::uint8_t* data, std::size_t size, const char* name);
    /// Takes pixels as they stand (rows top first, width x height x bytes of `format`); no flags change.
    void SetImage(int width, int height, std::uint32_t format, std::vector<std::uint8_t> pixels);

    /// Gives write access to the pixels: the device surface when `device` holds one, else the texture's
    /// own pixels. A second Lock before Unlock sets status -1.
    void Lock(CDisplayDevice* device, LockRecord& out);
    /// Ends a Lock; pixels written to the texture's own copy are uploaded to the device surface again.
    void Unlock(CDisplayDevice* device);
    bool IsLocked() const { return m_locked; }

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    std::uint32_t GetFormat() const { return m_format; }
    std::uint32_t GetFlags() const { return m_flags; }
    void SetFlags(std::uint32_t flags) { m_flags = flags; }
    /// The alpha level the name gave (n x 17 for "!NN", 2 for a "!" without digits, -1 beyond 15).
    int GetAlphaLevel() const { return m_alphaLevel; }
    const std::uint8_t* GetPixels() const { return m_pixels.empty() ? nullptr : m_pixels.data(); }
    std::uint8_t* GetPixels() { return m_pixels.empty() ? nullptr : m_pixels.data(); }
    /// The texture's number in order of making (1 for the first of the run): meshes group their faces
    /// by it, so the grouping is the same in every run.
    std::uint32_t GetOrder() const { return m_order; }
    /// A word for the renderer's own use; 0 at construction.
    std::uint32_t GetWorkWord() const { return m_workWord; }
    void SetWorkWord(std::uint32_t word) { m_workWord = word; }

    /// The surface the device draws from (null until one is made).
    plat::raster::Texture* GetDeviceSurface() const { return m_deviceSurface.get(); }
    /// Takes the device surface and the layout it was filled in.
    void SetDeviceSurface(std::unique_ptr<plat::raster::Texture> surface, const TextureFormatRecord& format);
    /// The layout of the device surface.
    const TextureFormatRecord& GetSurfaceFormat() const { return m_surfaceFormat; }
    /// Releases the device surface.
    void ReleaseSurfaces();

private:
    void MakePlaceholder();
    bool DecodeTga(const std::uint8_t* data, std::size_t size);
    void ReadNameFlags(const char* name);

    std::vector<std::uint8_t> m_pixels;
    std::optional<CDStr> m_name;
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_flags = 0;
    std::uint32_t m_workWord = 0;
    std::uint32_t m_order;
    int m_alphaLevel = 0;
    std::uint32_t m_format = 0;
    std::unique_ptr<plat::raster::Texture> m_deviceSurface;
    TextureFormatRecord m_surfaceFormat;
    bool m_locked = false;
    CDisplayDevice* m_lockedDevice = nullptr;
};

} // namespace zentrix
