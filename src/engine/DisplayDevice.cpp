#include "engine/DisplayDevice.h"

#include "engine/AlignedAlloc.h"
#include "engine/TexturePixel.h"
#include "engine/TextureSurface.h"
#include "engine/Viewport.h"
#include "foundation/base/Messages.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/system/MessageBox.h"

#include <algorithm>
#include <cstring>

namespace zentrix {

using namespace plat::raster;

namespace {

constexpr int kScratchBytes = 12288;

// The display devices, newest first, and the 2D colour key of the current 16-bit mode.
std::vector<std::unique_ptr<CDisplayDevice>>& DeviceList() {
    static std::vector<std::unique_ptr<CDisplayDevice>> list;
    return list;
}
// Magenta, the colour key of 2D pictures, in each 16-bit screen format.
constexpr std::uint16_t kKey565 = plat::gfx2d::PackRgb565(255, 0, 255);
constexpr std::uint16_t kKey555 = plat::gfx2d::PackRgb555(255, 0, 255);
std::uint16_t g_colourKey2D = kKey565;

constexpr std::uint32_t U(auto e) {
    return static_cast<std::uint32_t>(e);
}

} // namespace

CDisplayDevice::CDisplayDevice(DriverList drivers, std::uint32_t flags, int width, int height,
                               int bitsPerPixel)
    : m_scratch(AlignedAlloc(kScratchBytes)), m_width(width), m_height(height),
      m_bitsPerPixel(static_cast<std::uint8_t>(bitsPerPixel)), m_flags(flags), m_drivers(std::move(drivers)),
      m_preferLaterDriver((flags & kFlagPreferLaterDriver) != 0) {
    if (m_scratch)
        std::memset(m_scratch.get(), 0, kScratchBytes);
    m_renderStates.fill(0xFFFFFFFFu);
    for (auto& stage : m_stageStates)
        stage.fill(0xFFFFFFFFu);
}

CDisplayDevice::~CDisplayDevice() {
    Shutdown();
}

void CDisplayDevice::AlignedDelete::operator()(void* block) const {
    AlignedFree(block);
}

bool CDisplayDevice::ChooseDriver() {
    int best = -1;
    m_driver = nullptr;
    for (const auto& driver : m_drivers) {
        if (!driver->Has3D())
            continue;
        // The driver's score is that of the last device it lists.
        int score = 0;
        for (const DeviceDescription& d : driver->Devices()) {
            score = 0;
            if (d.hardwareRasterization) {
                score = d.textureFilter > 1 ? 1 : 0;
                if (d.hardwareTransformAndLight)
                    score += 1;
            }
        }
        const bool retain = m_driver == nullptr || (m_preferLaterDriver ? score <= best : score > best);
        if (retain) {
            m_driver = driver.get();
            best = score;
        }
    }
    return m_driver != nullptr;
}

bool CDisplayDevice::Init() {
    if (!ChooseDriver())
        return false;
    // No display mode is switched and no other program is shut out: the screen opens at the size asked.

    if (m_flags & kFlagDirect3D) {
        for (const DeviceDescription& d : m_driver->Devices())
            if (d.hardwareRasterization && d.hardwareTransformAndLight)
                m_hardwareTnL = true;
        if (m_hardwareTnL)
            DebugOutput("Using Hardware TnL....\n");
        m_wantedDepthBits = m_bitsPerPixel;
        const std::vector<int> depths = m_driver->DepthFormats();
        const bool depthFound = std::any_of(depths.begin(), depths.end(), [&](int bits) {
            return m_wantedDepthBits == 0 ? bits >= 16 : bits == m_wantedDepthBits;
        });
        if (!depthFound) {
            DebugOutput("Failed to enumerate valid/required zbuffer\n");
            plat::system::ShowMessageBox("ERROR", "This app requires DirectX 7.0", plat::system::Buttons::Ok);
            return false;
        }
    }

    m_screen = m_driver->OpenScreen({m_width, m_height}, m_bitsPerPixel);
    if (!m_screen) {
        ReportError("Display device: the primary surface could not be created");
        return false;
    }
    const std::uint32_t redMask = m_screen->Primary().Format().redMask;
    m_formatCode = redMask == plat::gfx2d::kFormat555.redMask
                       ? kFormat5550
                       : (redMask == plat::gfx2d::kFormat565.redMask ? kFormat5650 : 0);
    if (m_formatCode == kFormat5550)
        g_colourKey2D = kKey555;
    else if (m_formatCode == kFormat5650)
        g_colourKey2D = kKey565;
    if (!(m_flags & kFlagDirect3D))
        return true;

    m_device = m_driver->CreateDevice(m_screen->BackBuffer());
    if (!m_device) {
        DebugOutput("Could not create device\n");
        return false;
    }
    m_caps = m_device->Caps();
    m_multiTexture = m_caps.blendStages >= 2 && m_caps.simultaneousTextures >= 2;
    m_separateTextureMemories = m_caps.separateTextureMemories;

    using RS = RenderState;
    using SS = StageState;
    SetRenderState(RS::ShadeMode, U(ShadeMode::Gouraud));
    SetRenderState(RS::SpecularEnable, 0);
    SetRenderState(RS::DitherEnable, 0);
    SetRenderState(RS::TexturePerspective, 1);
    SetRenderState(RS::Lighting, 1);
    SetRenderState(RS::FogEnable, 0);
    SetTextureStageState(0, SS::TexCoordIndex, 0);
    SetTextureStageState(0, SS::ColourArg1, U(TextureArg::Texture));
    SetTextureStageState(0, SS::ColourArg2, U(TextureArg::Current));
    SetTextureStageState(0, SS::ColourOp, U(TextureOp::Modulate));
    SetTextureStageState(0, SS::AlphaArg1, U(TextureArg::Texture));
    SetTextureStageState(0, SS::AlphaArg2, U(TextureArg::Current));
    SetTextureStageState(0, SS::AlphaOp, U(TextureOp::SelectArg1));
    SetTextureStageState(0, SS::MagFilter, U(TextureFilter::Linear));
    SetTextureStageState(0, SS::MinFilter, U(TextureFilter::Linear));
    SetTextureStageState(1, SS::TexCoordIndex, 1);
    SetTextureStageState(1, SS::ColourArg1, U(TextureArg::Texture));
    SetTextureStageState(1, SS::ColourArg2, U(TextureArg::Current));
    SetTextureStageState(1, SS::ColourOp, U(TextureOp::BlendTextureAlpha));
    SetTextureStageState(1, SS::AlphaArg2, U(TextureArg::Texture));
    SetTextureStageState(1, SS::AlphaArg1, U(TextureArg::Current));
    SetTextureStageState(1, SS::AlphaOp, U(TextureOp::SelectArg1));
    SetTextureStageState(1, SS::ColourOp, U(TextureOp::Disable));
    SetTextureStageState(1, SS::AlphaOp, U(TextureOp::Disable));
    SetTextureStageState(1, SS::MagFilter, U(TextureFilter::Linear));
    SetTextureStageState(1, SS::MinFilter, U(TextureFilter::Linear));

    SetRenderState(RS::SrcBlend, U(BlendFactor::SrcAlpha));
    SetRenderState(RS::DestBlend, U(BlendFactor::InvSrcAlpha));
    SetRenderState(RS::DitherEnable, 1);
    m_queue = std::make_unique<TransparencyQueue>(); // the first render batch
    m_spriteVertices = std::make_unique<VertexBuffer>(kLayoutUnlit, 64);
    m_spriteScreen = std::make_unique<VertexBuffer>(kLayoutScreen, 64);
    m_spriteScreenQuads = std::make_unique<VertexBuffer>(kLayoutScreen, 256);
    for (int q = 0; q < kQuadIndexCount / 6; ++q) {
        const int v = 4 * q;
        const int at = 6 * q;
        const int corners[6] = {v, v + 1, v + 2, v, v + 2, v + 3};
        for (int i = 0; i < 6; ++i)
            m_quadIndices[static_cast<std::size_t>(at + i)] = static_cast<std::uint16_t>(corners[i]);
    }
    m_textureFormats.clear();
    for (const plat::gfx2d::PixelFormat& f : m_device->TextureFormats())
        EnumTextureFormat(m_textureFormats, f);
    Material material;
    material.diffuse = {1, 1, 1, 1};
    material.ambient = {1, 1, 1, 1};
    m_device->SetMaterial(material);
    return true;
}

void CDisplayDevice::Shutdown() {
    m_pools.clear();
    m_spriteVertices.reset();
    m_spriteScreen.reset();
    m_spriteScreenQuads.reset();
    if (m_queue) {
        m_queue->decalBuffer.reset();
        m_queue->decalIndices.clear();
    }
    ReleaseAllTextureSurfaces(*this);
    m_textureFormats.clear();
    m_scratch.reset();
    m_queue.reset(); // the batches and the transparent items
    for (int stage = 0; stage < kStages; ++stage)
        if (m_boundTextures[static_cast<std::size_t>(stage)])
            UnbindStage(stage);
    m_device.reset();
    m_screen.reset();
    m_driver = nullptr;
    m_drivers.clear();
}

void CDisplayDevice::FlipDevice() {
    if (m_screen && m_screen->Flip() != plat::gfx2d::Result::Ok)
        m_screen->Flip(); // once more, as a flip that found the screen busy would wait
}

void CDisplayDevice::RestoreSurfaces() {
    for (const auto& pool : m_pools)
        if (pool->LockCount() > 0)
            DebugOutput("VB Locked!\n");
    if (!m_screen)
        return;
    for (plat::gfx2d::Surface* s : {&m_screen->Primary(), &m_screen->BackBuffer()})
        if (s->IsLost())
            s->Restore();
}

std::unique_ptr<CViewport> CDisplayDevice::CreateViewport(int x, int y, int width, int height) {
    auto viewport = std::make_unique<CViewport>(this, x, y, width, height);
    if (m_device)
        m_device->SetViewport({x, y, width, height, 0.0f, 1.0f});
    return viewport;
}

void CDisplayDevice::DeleteViewport(std::unique_ptr<CViewport> viewport) {
    viewport.reset();
}

CTexture* CDisplayDevice::BoundTexture(int stage) const {
    return stage >= 0 && stage < kStages ? m_boundTextures[static_cast<std::size_t>(stage)] : nullptr;
}

void CDisplayDevice::SetBoundTexture(int stage, CTexture* texture) {
    if (stage >= 0 && stage < kStages)
        m_boundTextures[static_cast<std::size_t>(stage)] = texture;
}

void CDisplayDevice::UnbindStage(int stage) {
    SetBoundTexture(stage, nullptr);
    if (m_device && stage >= 0 && stage < kStages)
        m_device->SetTexture(stage, nullptr);
}

TransparencyQueue& CDisplayDevice::Queue() {
    if (!m_queue)
        m_queue = std::make_unique<TransparencyQueue>();
    return *m_queue;
}

void CDisplayDevice::SetRenderState(RenderState state, std::uint32_t value) {
    const auto i = static_cast<std::size_t>(state);
    if (i >= kRenderStateSlots || !m_device)
        return;
    if (m_renderKnown[i] && m_renderStates[i] == value)
        return;
    m_device->SetRenderState(state, value);
    m_renderStates[i] = value;
    m_renderKnown[i] = true;
}

void CDisplayDevice::GetRenderState(RenderState state, std::uint32_t& value) const {
    const auto i = static_cast<std::size_t>(state);
    value = i < kRenderStateSlots ? m_renderStates[i] : 0xFFFFFFFFu;
}

void CDisplayDevice::SetTextureStageState(int stage, StageState type, std::uint32_t value) {
    const auto t = static_cast<std::size_t>(type);
    if (stage < 0 || stage >= kStages || t >= kStageStateSlots || !m_device)
        return;
    auto& values = m_stageStates[static_cast<std::size_t>(stage)];
    auto& known = m_stageKnown[static_cast<std::size_t>(stage)];
    if (known[t] && values[t] == value)
        return;
    m_device->SetTextureStageState(stage, type, value);
    values[t] = value;
    known[t] = true;
}

CDisplayDevice* CreateDisplayDevice(DriverList drivers, std::uint32_t flags, int width, int height,
                                    int bitsPerPixel) {
    auto device = std::make_unique<CDisplayDevice>(std::move(drivers), flags, width, height, bitsPerPixel);
    if (!device->Init()) {
        device->Shutdown();
        return nullptr;
    }
    DeviceList().insert(DeviceList().begin(), std::move(device));
    return DeviceList().front().get();
}

std::vector<CDisplayDevice*> GetDisplayDevices() {
    std::vector<CDisplayDevice*> devices;
    for (const auto& d : DeviceList())
        devices.push_back(d.get());
    return devices;
}

void DeleteDisplayDevice(CDisplayDevice* device) {
    auto& list = DeviceList();
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& d) { return d.get() == device; });
    if (it == list.end())
        return;
    (*it)->Shutdown();
    list.erase(it);
}

std::uint16_t GetColourKey2D() {
    return g_colourKey2D;
}

} // namespace zentrix
