#include "engine/Viewport.h"

#include "engine/Camera.h"
#include "engine/DisplayDevice.h"
#include "engine/Entity.h"
#include "engine/PipelineContext.h"
#include "engine/RenderBatch.h"
#include "engine/Scene.h"
#include "engine/TextureSurface.h"
#include "foundation/base/Messages.h"
#include "foundation/math/EngineMath.h"
#include "platform/raster/Device.h"
#include "platform/raster/VertexBuffer.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace zentrix {

using namespace plat::raster;

namespace {

constexpr std::uint32_t U(auto e) {
    return static_cast<std::uint32_t>(e);
}

} // namespace

CViewport::CViewport(CDisplayDevice* device, int x, int y, int width, int height)
    : m_top(y), m_left(x), m_width(width), m_height(height), m_device(device) {
    IdentityMatrix(m_view);
}

void CViewport::SetClearColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    m_clearRed = red, m_clearGreen = green, m_clearBlue = blue;
}

std::uint32_t CViewport::GetClearColour() const {
    return (std::uint32_t{m_clearRed} << 16) | (std::uint32_t{m_clearGreen} << 8) | m_clearBlue;
}

void CViewport::SetViewportRect(int top, int left, int width, int height, bool clearUncovered) {
    if (clearUncovered && m_device) {
        const plat::gfx2d::Rect bands[2] = {
            {m_left, m_top, m_left + m_width, std::min(top, m_top + m_height)},
            {m_left, std::max(top + height, m_top), m_left + m_width, m_top + m_height}};
        for (plat::gfx2d::Surface* surface :
             {m_device->GetDeviceBackBuffer(), m_device->GetPrimarySurface()}) {
            if (!surface)
                continue;
            for (const plat::gfx2d::Rect& band : bands) {
                const plat::gfx2d::Rect r = band.Intersect(plat::gfx2d::Rect::FromSize(surface->GetSize()));
                if (!r.IsEmpty())
                    surface->Fill(&r, 0);
            }
        }
    }
    m_top = top, m_left = left, m_width = width, m_height = height;
}

void CViewport::GetViewportRect(plat::gfx2d::Rect& out, const plat::gfx2d::Point* offset) const {
    out = {m_left, m_top, m_left + m_width, m_top + m_height};
    if (offset)
        out = out.Offset(*offset);
}

void CViewport::SetupCamera(CCamera* camera) {
    m_camera = camera;
    float world[16];
    camera->GetMatrixRelative(world, nullptr);
    const float position[3] = {world[12], world[13], world[14]};
    float direction[3] = {-world[8], -world[9], -world[10]};
    float up[3] = {world[4], world[5], world[6]};
    NormaliseVector(direction);
    float right[3], trueUp[3];
    CrossProduct(right, up, direction);
    NormaliseVector(right);
    CrossProduct(trueUp, direction, right);
    NormaliseVector(trueUp);
    if (camera->GetRoll() != 0.0f) {
        const float angle = camera->GetRoll() * std::numbers::pi_v<float> / 180.0f;
        RotateAboutAxis(right, right, direction, angle);
        RotateAboutAxis(trueUp, trueUp, direction, angle);
    }
    const float* axes[3] = {right, trueUp, direction};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r)
            m_view[r * 4 + c] = axes[c][r];
        m_view[12 + c] = -DotProduct(axes[c], position);
        m_view[c * 4 + 3] = 0.0f;
    }
    m_view[15] = 1.0f;
    m_clipPlanes = ViewVolumeToWorld(
        MakeViewVolume(camera->GetProjectionScale(), camera->GetNearPlane(), m_width, m_height), world);
}

Matrix4 CViewport::MakeProjection(const CCamera& camera) const {
    const double nearZ = camera.GetNearPlane(), farZ = camera.GetFarPlane();
    double horizontal, vertical;
    if (camera.GetFieldOfView() == 0.0f) {
        const double w = m_width / 2.0, f = camera.GetProjectionScale();
        horizontal = std::asin(w / std::sqrt(w * w + f * f));
        vertical = horizontal * m_height / m_width;
    } else {
        horizontal = vertical = camera.GetFieldOfView() * std::numbers::pi / 180.0;
    }
    Matrix4 p;
    p.At(0, 0) = static_cast<float>(1.0 / std::tan(horizontal));
    p.At(1, 1) = static_cast<float>(1.0 / std::tan(vertical));
    const double q = farZ / (farZ - nearZ);
    p.At(2, 2) = static_cast<float>(q);
    p.At(2, 3) = 1.0f;
    p.At(3, 2) = static_cast<float>(-q * nearZ);
    return p;
}

void CViewport::PrepareScene(CCamera* camera, CScene* scene) {
    if (!camera || !scene)
        return;
    SetupCamera(camera);
    BeginPipelineView(this);
    for (int i = 0; i < CScene::kRoots; ++i)
        if (CEntity* root = scene->GetRoot(i))
            root->Prepare(this, true);
    EndPipelineView();
}

void CViewport::SetupFog() {
    const DeviceFog& fog = m_device->Fog();
    if (!fog.enabled)
        return;
    m_device->SetRenderState(RenderState::FogEnable, 1);
    if (fog.densityMode) {
        m_device->SetRenderState(RenderState::FogColour, fog.colour);
        m_device->SetRenderState(RenderState::FogTableMode, U(FogMode::None));
        m_device->SetRenderState(RenderState::FogDensity, FloatState(fog.density));
    } else {
        m_device->SetRenderState(RenderState::FogStart, FloatState(fog.start));
        m_device->SetRenderState(RenderState::FogEnd, FloatState(fog.end));
        m_device->SetRenderState(RenderState::FogColour, fog.colour);
        m_device->SetRenderState(RenderState::FogTableMode, U(FogMode::None));
        m_device->SetRenderState(RenderState::FogVertexMode, U(FogMode::Linear));
        m_device->SetRenderState(RenderState::RangeFogEnable, 1);
    }
}

void CViewport::RenderScene(CCamera* camera, CScene* scene) {
    Device* d = m_device ? m_device->GetRenderDevice() : nullptr;
    if (!d || !camera || !scene)
        return;
    SetupCamera(camera);
    BeginPipelineView(this);

    d->SetViewport({m_left, m_top, m_width, m_height, 0.0f, 1.0f});
    if (!scene->GetBackground()) {
        std::uint32_t flags = 0;
        if (m_colourClear)
            flags = kClearTarget | (m_depthClear ? kClearDepth : 0);
        else if (m_depthClear)
            flags = kClearDepth;
        if (flags)
            d->Clear(flags, GetClearColour(), 1.0f);
    }
    d->SetTransform(TransformKind::Projection, MakeProjection(*camera));
    Matrix4 view;
    std::copy_n(m_view, 16, view.m.begin());
    d->SetTransform(TransformKind::View, view);
    m_device->SetRenderState(RenderState::ZEnable, 1);
    m_device->SetRenderState(RenderState::ZWriteEnable, 1);
    m_device->SetRenderState(RenderState::Ambient, scene->GetAmbient());
    m_device->RestoreSurfaces();

    int used = 0;
    for (int i = 0; i < CScene::kLightSlots && used < CScene::kMaxLightsOn; ++i) {
        Light light;
        if (scene->IsLightEnabled(i) && scene->GetLight(i, &light)) {
            d->SetLight(used, light);
            d->EnableLight(used, true);
            ++used;
        }
    }
    for (int n = used; n < CScene::kMaxLightsOn; ++n)
        d->EnableLight(n, false);

    if (!d->BeginScene()) {
        TraceMessage("BeginScene failed");
        EndPipelineView();
        return;
    }
    bool fogSet = false;
    if (CEntity* background = scene->GetBackground()) {
        m_device->SetRenderState(RenderState::FogEnable,
                                 scene->GetBackgroundFog() && m_device->Fog().enabled);
        fogSet = true;
        m_device->SetRenderState(RenderState::ZFunc, U(Compare::Always));
        ResetDepthBuckets(*m_device, *camera);
        background->Render(this, true);
        DrawTransparent(*m_device);
    }
    if (!fogSet)
        SetupFog();
    if (m_device->HasSeparateTextureMemories()) {
        m_device->SetRenderState(RenderState::AlphaFunc, U(Compare::NotEqual));
        m_device->SetRenderState(RenderState::AlphaRef, 0);
    } else {
        m_device->SetRenderState(RenderState::AlphaRef, 0x80);
        m_device->SetRenderState(RenderState::AlphaFunc, U(Compare::Greater));
    }
    m_device->SetRenderState(RenderState::ZFunc, U(Compare::LessEqual));

    for (int i = 0; i < CScene::kRoots; ++i) {
        CEntity* root = scene->GetRoot(i);
        if (!root)
            continue;
        ResetDepthBuckets(*m_device, *camera);
        root->Render(this, true);
        RenderDecal(*m_device, scene->GetDecalList(i), m_view, *this);
        DrawTransparent(*m_device);
    }
    if (m_overlayColour >> 24)
        DrawOverlay();
    d->EndScene();
    EndPipelineView();
}

void CViewport::DrawOverlay() {
    Device* d = m_device->GetRenderDevice();
    VertexBuffer& buffer = m_device->SpriteScreenQuads();
    const float l = static_cast<float>(m_left), t = static_cast<float>(m_top);
    const float r = l + static_cast<float>(m_width), b = t + static_cast<float>(m_height);
    const ScreenVertexRecord quad[4] = {{l, t, 0.9999f, 1.0f, m_overlayColour, 0, 0, 0},
                                        {r, t, 0.9999f, 1.0f, m_overlayColour, 0, 0, 0},
                                        {r, b, 0.9999f, 1.0f, m_overlayColour, 0, 0, 0},
                                        {l, b, 0.9999f, 1.0f, m_overlayColour, 0, 0, 0}};
    std::memcpy(buffer.Lock(), quad, sizeof quad);
    buffer.Unlock();
    BindTexture(*m_device, nullptr, 0);
    m_device->SetRenderState(RenderState::AlphaBlendEnable, 1);
    SetTextureBlending(*m_device, 0);
    m_device->SetRenderState(RenderState::ZEnable, 0);
    m_device->SetRenderState(RenderState::ZWriteEnable, 0);
    d->DrawIndexedTriangles(buffer, 0, 4, m_device->QuadIndices().data(), 6);
    m_device->SetRenderState(RenderState::AlphaBlendEnable, 0);
    m_device->SetRenderState(RenderState::ZEnable, 1);
    m_device->SetRenderState(RenderState::ZWriteEnable, 1);
}

} // namespace zentrix
