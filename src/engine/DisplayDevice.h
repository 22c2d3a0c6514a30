#pragma once

#include "engine/RenderBatch.h"
#include "engine/TextureFormat.h"
#include "engine/VertexBufferPool.h"
#include "platform/raster/DisplayDriver.h"
#include "platform/raster/Types.h"
#include "platform/raster/VertexBuffer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CTexture;
class CViewport;

/// The device's fog settings; off unless the game turns them on.
struct DeviceFog {
    bool enabled = false;
    float start = 0.0f;
    float end = 0.0f;
    std::uint32_t colour = 0;
    bool densityMode = false;
    float density = 0.0f;
};

/// The engine's owner of the display: it picks a display driver, opens the full-screen screen with its
/// back buffer, creates the 3D device with the engine's default states, keeps the state caches through
/// which every render and stage state is set, presents each frame and tears everything down again.
class CDisplayDevice {
public:
    /// Creation flag: make the 3D device, its z-buffer and its states.
    static constexpr std::uint32_t kFlagDirect3D = 2;
    /// Creation flag: among drivers of no higher score, the later one wins.
    static constexpr std::uint32_t kFlagPreferLaterDriver = 8;
    static constexpr int kRenderStateSlots = 160;
    static constexpr int kStageStateSlots = 25;
    static constexpr int kStages = 8;
    static constexpr int kQuadIndexCount = 384;

    /// A device on `drivers` (the machine's display drivers), not yet initialised.
    CDisplayDevice(plat::raster::DriverList drivers, std::uint32_t flags, int width, int height,
                   int bitsPerPixel);
    ~CDisplayDevice();
    CDisplayDevice(const CDisplayDevice&) = delete;
    CDisplayDevice& operator=(const CDisplayDevice&) = delete;

    /// Chooses the driver, opens the screen and creates the 3D device; true when the device is usable.
    bool Init();
    /// Releases everything Init made.
    void Shutdown();
    /// Presents the back buffer.
    void FlipDevice();
    /// Warns of vertex pools left locked, then restores lost surfaces (memory surfaces are never lost).
    void RestoreSurfaces();
    /// A viewport of this device over (x, y, width, height), set on the 3D device.
    std::unique_ptr<CViewport> CreateViewport(int x, int y, int width, int height);
    /// Destroys a viewport.
    void DeleteViewport(std::unique_ptr<CViewport> viewport);
    /// True when hardware transform and lighting is in use.
    bool IsHardwareTnL() const { return m_hardwareTnL; }

    /// Sets a render state unless the cache knows it already holds `value`.
    void SetRenderState(plat::raster::RenderState state, std::uint32_t value);
    /// The cached value of a render state (all bits set when it was never set).
    void GetRenderState(plat::raster::RenderState state, std::uint32_t& value) const;
    /// Sets a texture-stage state unless the cache knows it already holds `value`.
    void SetTextureStageState(int stage, plat::raster::StageState type, std::uint32_t value);

    /// The 3D device (null before Init or after a failure).
    plat::raster::Device* GetRenderDevice() { return m_device.get(); }
    /// The back buffer that each frame is drawn on and overlays are drawn over.
    plat::gfx2d::Surface* GetDeviceBackBuffer() { return m_screen ? &m_screen->BackBuffer() : nullptr; }
    /// The primary surface on show.
    plat::gfx2d::Surface* GetPrimarySurface() { return m_screen ? &m_screen->Primary() : nullptr; }
    /// The chosen driver's surface maker, in place of its DirectDraw object.
    plat::gfx2d::SurfaceFactory* GetDirectDraw() { return m_driver ? &m_driver->Surfaces() : nullptr; }
    /// The device's texture layouts, newest reported first.
    const std::vector<TextureFormatRecord>& TextureFormats() const { return m_textureFormats; }
    /// 0x5650 for a 5-6-5 primary surface, 0x5550 for 5-5-5, else 0.
    std::uint16_t GetFormatCode() const { return m_formatCode; }
    bool HasMultiTexture() const { return m_multiTexture; }
    bool HasSeparateTextureMemories() const { return m_separateTextureMemories; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    /// The capabilities of the created device.
    const plat::raster::DeviceCaps& GetCaps() const { return m_caps; }
    /// The quad index table: quad i gives 4i, 4i+1, 4i+2, 4i, 4i+2, 4i+3.
    const std::array<std::uint16_t, kQuadIndexCount>& QuadIndices() const { return m_quadIndices; }

    /// The textures that own surfaces on this device.
    std::vector<CTexture*>& TextureRecords() { return m_textureRecords; }
    /// The texture bound to a stage (null when none).
    CTexture* BoundTexture(int stage) const;
    /// Records the texture bound to a stage.
    void SetBoundTexture(int stage, CTexture* texture);
    /// Unbinds a stage on the 3D device.
    void UnbindStage(int stage);
    /// Compressed texture layouts the device offers (CompressionCaps bits); none on this platform.
    std::uint32_t GetCompressionCaps() const { return m_compressionCaps; }
    /// The vertex-buffer pools, newest first.
    std::vector<std::unique_ptr<CVertexBufferPool>>& VertexPools() { return m_pools; }
    /// The render batches, transparent items and decal buffer.
    TransparencyQueue& Queue();
    /// The screen-sprite buffers: 64 world positions, 64 projected, 256 screen vertices.
    plat::raster::VertexBuffer& SpriteVertices() { return *m_spriteVertices; }
    plat::raster::VertexBuffer& SpriteScreen() { return *m_spriteScreen; }
    plat::raster::VertexBuffer& SpriteScreenQuads() { return *m_spriteScreenQuads; }
    /// Fog of the scene render.
    DeviceFog& Fog() { return m_fog; }
    /// Whether stage 1 blends a second texture (set by meshes with a second face list).
    bool IsTwoStageMode() const { return m_twoStageMode; }
    void SetTwoStageMode(bool on) { m_twoStageMode = on; }

private:
    struct AlignedDelete {
        void operator()(void* block) const;
    };

    bool ChooseDriver();

    bool m_multiTexture = false;
    bool m_separateTextureMemories = false;
    std::vector<CTexture*> m_textureRecords;
    std::unique_ptr<void, AlignedDelete> m_scratch; // aligned scratch block, zero-filled
    std::uint32_t m_compressionCaps = 0;
    std::vector<TextureFormatRecord> m_textureFormats;
    std::vector<std::unique_ptr<CVertexBufferPool>> m_pools;
    int m_width, m_height;
    std::uint8_t m_bitsPerPixel;
    std::uint32_t m_flags;
    plat::raster::DriverList m_drivers;
    plat::raster::DisplayDriver* m_driver = nullptr; // the chosen one, owned by m_drivers
    std::unique_ptr<plat::gfx2d::Screen> m_screen;
    plat::raster::DeviceCaps m_caps;
    int m_wantedDepthBits = 0;
    std::unique_ptr<plat::raster::Device> m_device;
    bool m_preferLaterDriver;
    bool m_hardwareTnL = false;
    std::uint16_t m_formatCode = 0;
    std::unique_ptr<plat::raster::VertexBuffer> m_spriteVertices;    // 64 untransformed
    std::unique_ptr<plat::raster::VertexBuffer> m_spriteScreen;      // 64 transformed
    std::unique_ptr<plat::raster::VertexBuffer> m_spriteScreenQuads; // 256 transformed
    std::array<std::uint16_t, kQuadIndexCount> m_quadIndices{};
    std::unique_ptr<TransparencyQueue> m_queue;
    DeviceFog m_fog;
    bool m_twoStageMode = false;
    std::array<CTexture*, kStages> m_boundTextures{};
    std::array<std::uint32_t, kRenderStateSlots> m_renderStates;
    std::array<bool, kRenderStateSlots> m_renderKnown{};
    std::array<std::array<std::uint32_t, kStageStateSlots>, kStages> m_stageStates;
    std::array<std::array<bool, kStageStateSlots>, kStages> m_stageKnown{};
};

/// Makes and initialises a display device; null when it cannot be used. A usable device joins the list
/// of display devices.
CDisplayDevice* CreateDisplayDevice(plat::raster::DriverList drivers, std::uint32_t flags, int width,
                                    int height, int bitsPerPixel);
/// The listed display devices, newest first.
std::vector<CDisplayDevice*> GetDisplayDevices();
/// Unlinks, shuts down and frees a device of the list; any other pointer is ignored.
void DeleteDisplayDevice(CDisplayDevice* device);
/// The colour key of 2D pictures in the current 16-bit mode: 0xF81F for 5-6-5, 0x7C1F for 5-5-5.
std::uint16_t GetColourKey2D();

} // namespace zentrix
