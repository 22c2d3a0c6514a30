#include "render/EngineMan.h"

#include "engine/DisplayDevice.h"
#include "engine/Scene.h"
#include "engine/TextureList.h"
#include "engine/TextureSurface.h"
#include "engine/Viewport.h"
#include "foundation/assets/Bitmap.h"
#include "foundation/base/EventMan.h"
#include "platform/gfx2d/Presenter.h"
#include "platform/raster/SoftwareDisplayDriver.h"
#include "platform/window/Window.h"
#include "render/CameraController.h"
#include "render/ClippedBlt.h"
#include "render/CompoundOverlay.h"
#include "render/EngineServices.h"
#include "render/Overlay.h"
#include "render/ParticleSystem.h"
#include "render/SurfaceMan.h"
#include "render/VornMesh.h"
#include "render/WorldLighting.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zentrix {

using plat::gfx2d::Rect;
using plat::gfx2d::Size;
using plat::gfx2d::Surface;
using plat::raster::Light;

namespace {

/// Device flags of the game: the 3D device, and the later of equally good drivers.
constexpr std::uint32_t kDeviceFlags = CDisplayDevice::kFlagDirect3D | CDisplayDevice::kFlagPreferLaterDriver;
constexpr int kBitsPerPixel = 16;

/// The pointer picture's tip lies this far into it.
constexpr int kPointerTipX = 15;
constexpr int kPointerTipY = 2;

/// The platform's display: the software driver, shown through the presenter the window makes (none
/// without a window: runs without a display).
plat::raster::DriverList PlatformDrivers(plat::window::Window* window, Size size) {
    std::unique_ptr<plat::gfx2d::Presenter> presenter = plat::window::CreatePresenterFor(window, size);
    if (!presenter)
        return {};
    plat::raster::DriverList drivers;
    drivers.push_back(std::make_unique<plat::raster::SoftwareDisplayDriver>(std::move(presenter)));
    return drivers;
}

Size VideoModeSize(int mode) {
    switch (mode) {
    case 1:
        return {800, 600};
    case 2:
        return {1024, 768};
    default:
        return {640, 480};
    }
}

/// The asset manager's texture loader, which the engine's plain function pointer reaches through
/// TextureLoaderTrampoline.
std::function<CTexture*(const char*)>& TextureLoader() {
    static std::function<CTexture*(const char*)> loader;
    return loader;
}

CTexture* TextureLoaderTrampoline(const char* fileName) {
    return TextureLoader() ? TextureLoader()(fileName) : nullptr;
}

bool ValidLightIndex(int index) {
    return index >= 0 && index < CEngineMan::kLightSlots;
}

void SetRgb(plat::raster::ColourF& colour, const CVector& value) {
    colour.r = value.x;
    colour.g = value.y;
    colour.b = value.z;
}

} // namespace

CEngineMan::CEngineMan(IEngineServices* services, DriverSource drivers)
    : m_services(services), m_drivers(std::move(drivers)) {}

CEngineMan::~CEngineMan() {
    Shutdown();
}

int CEngineMan::StartManager() {
    m_pointerVisible = true;
    m_started = true;
    return 0;
}

int CEngineMan::StopManager() {
    Shutdown();
    m_started = false;
    return 0;
}

bool CEngineMan::CreateDevice(plat::window::Window* window, int videoMode) {
    const Size size = VideoModeSize(videoMode);
    plat::raster::DriverList drivers = m_drivers ? m_drivers(window, size) : PlatformDrivers(window, size);
    m_device = CreateDisplayDevice(std::move(drivers), kDeviceFlags, size.width, size.height, kBitsPerPixel);
    if (m_device)
        return true;
    if (m_fellBack)
        return false;
    m_fellBack = true;
    return CreateDevice(window, 0);
}

bool CEngineMan::InitScene() {
    if (!m_device)
        return false;
    m_scene = std::make_unique<CScene>();
    m_sceneRoot = m_scene->GetRoot(0);
    m_camera = std::make_unique<CCameraController>(m_sceneRoot);
    m_camera->SetPosition(0.0f, 0.0f, 0.0f);
    m_camera->LookAt(20.0f, 250.0f, -50.0f);
    const int width = m_services ? m_services->GetScreenWidth() : m_device->GetWidth();
    const int height = m_services ? m_services->GetScreenHeight() : m_device->GetHeight();
    m_viewports[0] = m_device->CreateViewport(0, 0, width, height);
    m_viewports[0]->SetClearColour(0, 0, 0);
    m_viewports[0]->SetColourClear(true);
    m_surfaces = std::make_unique<CSurfaceMan>(*GetDirectDraw());
    SetOverlayServices(this);
    CreateCursor();
    CreateDefaultLights();
    return true;
}

bool CEngineMan::Shutdown() {
    // The device's texture surfaces and every texture of the engine's list, those loaded by name
    // included; the asset manager, which deletes its own, has stopped before.
    if (m_device)
        DeleteAllTextures();
    if (m_scene)
        for (int i = 0; i < kLightSlots; ++i)
            RemoveLight(i);
    CParticleSystem::DestroyAll();
    m_background.reset();
    m_backgroundId = -1;
    m_renderObjects.clear();
    m_pointer.reset();
    m_pointerImageId = -1;
    if (GetOverlayServices() == this)
        SetOverlayServices(nullptr);
    m_surfaces.reset();
    for (auto& viewport : m_viewports)
        if (viewport)
            m_device->DeleteViewport(std::move(viewport));
    m_camera.reset();
    m_scene.reset();
    if (m_device)
        DeleteDisplayDevice(m_device);
    m_device = nullptr;
    m_sceneRoot = nullptr;
    return true;
}

void CEngineMan::Update() {
    if (!m_device)
        return;
    m_device->RestoreSurfaces();
    DrawRenderObjects();
    HandleMessages();
}

void CEngineMan::DrawRenderObjects() {
    // A copy, so that drawing may change the list; an overlay deleted meanwhile is not drawn.
    std::vector<COverlay*> objects;
    for (const auto& overlay : m_renderObjects)
        objects.push_back(overlay.get());
    std::vector<COverlay*> keyed;
    for (COverlay* overlay : objects) {
        if (!HasRenderObject(overlay) || !overlay->IsVisible())
            continue;
        if (overlay->GetKeyedFlag())
            keyed.push_back(overlay);
        else
            overlay->Draw(m_device);
    }
    // Overlays with the keyed flag (the message box) go over all others, in the order met.
    for (COverlay* overlay : keyed)
        if (HasRenderObject(overlay))
            overlay->Draw(m_device);
    if (m_pointerVisible && m_pointer) {
        m_pointer->SetPosition(m_mouseX - kPointerTipX, m_mouseY - kPointerTipY);
        m_pointer->Blit(m_device->GetDeviceBackBuffer());
    }
}

void CEngineMan::HandleMessages() {
    CEventMan* events = m_services ? m_services->GetEventMan() : nullptr;
    if (!events)
        return;
    if (events->FindMessage(VORNMSG_HIDE_POINTER, nullptr, true))
        m_pointerVisible = false;
    if (events->FindMessage(VORNMSG_SHOW_POINTER, nullptr, true))
        m_pointerVisible = true;
    CMessage message;
    if (events->GetLatest(VORNMSG_SET_POINTER, &message))
        SetCursorImage(static_cast<int>(message.GetParam(0)));
}

void CEngineMan::RenderFrame() {
    if (!m_device)
        return;
    if (m_camera)
        m_camera->Update();
    if (m_services) {
        m_mouseX = m_services->GetMouseX();
        m_mouseY = m_services->GetMouseY();
    }
    m_device->FlipDevice();
    DrawScene();
    // A frame factor that is not a sane number (no frame timed yet) advances nothing.
    const float ticks = (m_services ? m_services->GetFrameFactor() : 1.0f) * 25.0f;
    CParticleSystem::UpdateAll(ticks > 0.0f && ticks < 1.0e6f ? static_cast<int>(ticks) : 0);
}

void CEngineMan::DrawScene() {
    CViewport* viewport = m_viewports[0].get();
    if (!viewport || !m_camera)
        return;
    if (m_background) {
        const Rect whole{0, 0, viewport->GetWidth(), viewport->GetHeight()};
        const Rect picture{0, 0, m_background->GetWidth(), m_background->GetHeight()};
        BltSurface(m_device->GetDeviceBackBuffer(), &whole, m_background->GetSurface(), &picture, 0);
    }
    viewport->PrepareScene(m_camera->GetCamera(), m_scene.get());
    viewport->RenderScene(m_camera->GetCamera(), m_scene.get());
}

plat::gfx2d::SurfaceFactory* CEngineMan::GetDirectDraw() const {
    return m_device ? m_device->GetDirectDraw() : nullptr;
}

CVector CEngineMan::GetCameraPosition() const {
    CVector v;
    if (m_camera)
        m_camera->GetPosition(v);
    return v;
}

CVector CEngineMan::GetCameraDirection() const {
    CVector v;
    if (m_camera)
        m_camera->GetDirection(v);
    return v;
}

CVector CEngineMan::GetCameraUp() const {
    CVector v;
    if (m_camera)
        m_camera->GetUpVector(v);
    return v;
}

COverlay* CEngineMan::AddRenderObject(std::unique_ptr<COverlay> overlay) {
    COverlay* observed = overlay.get();
    if (overlay)
        m_renderObjects.push_back(std::move(overlay));
    return observed;
}

CCompoundOverlay* CEngineMan::CreateCompoundOverlay(int panelId, int pictureId) {
    auto overlay = std::make_unique<CCompoundOverlay>(panelId, pictureId);
    CCompoundOverlay* observed = overlay.get();
    m_renderObjects.push_back(std::move(overlay));
    return observed;
}

void CEngineMan::DeleteOverlay(COverlay* overlay) {
    if (!overlay)
        return;
    // One the list does not hold belonged to the caller, who hands it over to be deleted.
    if (!RemoveRenderObject(overlay))
        delete overlay;
}

std::unique_ptr<COverlay> CEngineMan::RemoveRenderObject(COverlay* overlay) {
    auto it = std::find_if(m_renderObjects.begin(), m_renderObjects.end(),
                           [overlay](const auto& held) { return held.get() == overlay; });
    if (it == m_renderObjects.end())
        return nullptr;
    std::unique_ptr<COverlay> taken = std::move(*it);
    m_renderObjects.erase(it);
    return taken;
}

bool CEngineMan::HasRenderObject(const COverlay* overlay) const {
    return std::any_of(m_renderObjects.begin(), m_renderObjects.end(),
                       [overlay](const auto& held) { return held.get() == overlay; });
}

void CEngineMan::CreateCursor() {
    m_renderObjects.clear();
    m_pointer = std::make_unique<COverlay>(kPointerImageId);
    m_pointerImageId = kPointerImageId;
}

void CEngineMan::RecreateCursor() {
    if (!m_pointer)
        return;
    m_pointer.reset();
    m_pointer = std::make_unique<COverlay>(m_pointerImageId);
}

void CEngineMan::SetCursorImage(int imageId) {
    m_pointer.reset();
    m_pointer = std::make_unique<COverlay>(imageId);
    m_pointerImageId = imageId;
}

bool CEngineMan::SetBackgroundImage(int id) {
    if (id == m_backgroundId)
        return false;
    m_background.reset();
    m_backgroundId = -1;
    if (m_viewports[0])
        m_viewports[0]->SetColourClear(true);
    if (id == -1)
        return false;
    std::unique_ptr<CBitmap> picture = m_services ? m_services->GetBitmap(id) : nullptr;
    if (!picture)
        return false;
    m_background = std::move(picture);
    if (m_viewports[0])
        m_viewports[0]->SetColourClear(false);
    m_backgroundId = id;
    return true;
}

void CEngineMan::SetBackgroundColour(int theme) {
    const world_lighting::ClearColour colour = world_lighting::Clear(m_lightingMode, theme);
    if (m_viewports[0])
        m_viewports[0]->SetClearColour(colour.r, colour.g, colour.b);
}

int CEngineMan::AddLight(const Light& light, int /*unused*/) {
    if (!m_scene)
        return -1;
    for (int i = 0; i < kLightSlots; ++i) {
        if (!m_scene->GetLight(i, nullptr)) {
            m_scene->SetLight(i, light);
            return i;
        }
    }
    return -1;
}

void CEngineMan::RemoveLight(int index) {
    if (m_scene && ValidLightIndex(index) && m_scene->GetLight(index, nullptr))
        m_scene->RemoveLight(index);
}

bool CEngineMan::GetLight(int index, Light& out) const {
    if (!m_scene || !ValidLightIndex(index) || (m_lightingMode == 1 && index > 4))
        return false;
    return m_scene->GetLight(index, &out);
}

void CEngineMan::SetLight(int index, const Light& light) {
    if (m_scene && ValidLightIndex(index))
        m_scene->SetLight(index, light);
}

std::vector<CEngineMan::LightDistance> CEngineMan::GetLightsByDistance(const CVector& point) const {
    std::vector<LightDistance> lights;
    Light light;
    for (int i = 0; i < kLightSlots; ++i) {
        if (!GetLight(i, light))
            continue;
        const CVector at(light.position[0], light.position[1], light.position[2]);
        lights.push_back({light, (at - point).Length()});
    }
    return lights;
}

void CEngineMan::CreateDefaultLights() {
    static constexpr float kPositions[4][3] = {{-160, 50, 0}, {160, 50, 0}, {0, 50, 160}, {0, 50, -160}};
    static constexpr float kDiffuse[4][3] = {
        {1.0f, 1.0f, 1.0f}, {0.5f, 0.3f, 0.0f}, {0.7f, 0.7f, 0.7f}, {0.5f, 0.5f, 0.0f}};
    for (int i = 0; i < 4; ++i) {
        Light light;
        light.type = plat::raster::LightType::Point;
        light.attenuation0 = 1.0f;
        light.range = 120.0f;
        light.ambient = {0.15f, 0.15f, 0.15f, 0.0f};
        light.diffuse = {kDiffuse[i][0], kDiffuse[i][1], kDiffuse[i][2], 0.0f};
        light.position = {kPositions[i][0], kPositions[i][1], kPositions[i][2]};
        AddLight(light);
    }
}

void CEngineMan::SetupLighting(int mode, int /*unused*/) {
    Light light;
    if (!GetLight(0, light))
        CreateDefaultLights();
    m_lightingMode = mode;
    const int theme = GetTheme();
    for (int i = 0; i < 4; ++i) {
        if (!GetLight(i, light))
            continue;
        const world_lighting::LightColours colours = world_lighting::MainLight(mode, theme, i);
        SetRgb(light.diffuse, colours.diffuse);
        SetRgb(light.ambient, colours.ambient);
        SetLight(i, light);
    }
    SetBackgroundColour(theme);
    CVornMesh::ApplySceneLighting(m_sceneRoot, *this);
}

void CEngineMan::PlaceDefaultLights(bool wide) {
    static constexpr float kWide[4][3] = {{160, 50, -160}, {-160, 50, 160}, {160, 50, 320}, {0, 50, -320}};
    static constexpr float kNormal[4][3] = {{-160, 50, 0}, {160, 50, 0}, {0, 50, 160}, {0, 50, -160}};
    Light light;
    for (int i = 0; i < 4; ++i) {
        if (!GetLight(i, light))
            continue;
        const float* p = wide ? kWide[i] : kNormal[i];
        light.position = {p[0], p[1], p[2]};
        light.range = wide ? 720.0f : 240.0f;
        SetLight(i, light);
    }
}

void CEngineMan::DarkenDefaultLights() {
    Light light;
    for (int i = 0; i < 4; ++i) {
        if (!GetLight(i, light))
            continue;
        SetRgb(light.diffuse, {});
        SetRgb(light.ambient, {});
        SetLight(i, light);
    }
}

int CEngineMan::GetTheme() const {
    return m_services ? m_services->GetWorldTheme() : 0;
}

CVector CEngineMan::GetCarTint() const {
    return world_lighting::Object(world_lighting::ObjectColour::CarTint, m_lightingMode, GetTheme());
}

CVector CEngineMan::GetHighlightSteady() const {
    return world_lighting::Object(world_lighting::ObjectColour::HighlightSteady, m_lightingMode, GetTheme());
}

CVector CEngineMan::GetHighlightFlash1() const {
    return world_lighting::Object(world_lighting::ObjectColour::HighlightFlash1, m_lightingMode, GetTheme());
}

CVector CEngineMan::GetHighlightFlash2() const {
    return world_lighting::Object(world_lighting::ObjectColour::HighlightFlash2, m_lightingMode, GetTheme());
}

std::unique_ptr<Surface> CEngineMan::CreateDDSurface(int width, int height,
                                                     const plat::gfx2d::PixelFormat* format) {
    plat::gfx2d::SurfaceFactory* factory = GetDirectDraw();
    std::unique_ptr<Surface> surface;
    if (factory) {
        plat::gfx2d::SurfaceRequest request;
        request.size = {width, height};
        if (format)
            request.format = *format;
        surface = factory->CreateSurface(request);
    }
    if (!surface)
        throw std::runtime_error("CreateSurface failure in CEngineMan::CreateDDSurface");
    return surface;
}

bool CEngineMan::BltSurface(Surface* destination, const Rect* destinationRect, const Surface* source,
                            const Rect* sourceRect, unsigned flags, std::uint32_t fillValue) {
    return ClippedBlt(destination, destinationRect, source, sourceRect, flags, fillValue);
}

void CEngineMan::SetTextureLoader(std::function<CTexture*(const char* fileName)> load) {
    TextureLoader() = std::move(load);
    SetUserTextureLoadFunction(TextureLoader() ? &TextureLoaderTrampoline : nullptr);
}

void CEngineMan::SetDebugText(int /*line*/, const char* /*text*/) {}

bool CEngineMan::GetAssetData(int assetId, std::vector<std::uint8_t>& out) {
    return m_services && m_services->GetAssetData(assetId, out);
}

bool CEngineMan::GetInt(int assetId, int dataId, int& out, int element) {
    return m_services && m_services->GetInt(assetId, dataId, out, element);
}

} // namespace zentrix
