#pragma once

#include "foundation/base/ManagerInterface.h"
#include "foundation/math/Vector.h"
#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Surface.h"
#include "platform/raster/DisplayDriver.h"
#include "platform/raster/Types.h"
#include "render/OverlayServices.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace plat::window {
class Window;
}

namespace zentrix {

class CBitmap;
class CCameraController;
class CCompoundOverlay;
class CDisplayDevice;
class CEntity;
class COverlay;
class CScene;
class CTexture;
class CSurfaceMan;
class CViewport;
class IEngineServices;

/// The game's owner of the 3D engine: the display device, the scene with its root frame, the viewport,
/// the camera controller, the surface manager, the main lights and the mouse pointer. Each frame it
/// draws the 2D overlays and the pointer over the picture rendered last frame, presents it and renders
/// the scene for the next one. It also keeps the lighting of the worlds: the main lights' colours per
/// theme and lighting mode, the clear colour, the background picture and the colours of world objects.
class CEngineMan : public CManagerInterface, public IOverlayServices {
public:
    /// Makes the display drivers for a window and a screen size.
    using DriverSource = std::function<plat::raster::DriverList(plat::window::Window*, plat::gfx2d::Size)>;

    static constexpr int kPointerImageId = 28001;
    static constexpr int kLightSlots = 100;
    /// Application messages the engine answers.
    static constexpr int kMsgHidePointer = 3;
    static constexpr int kMsgShowPointer = 4;
    static constexpr int kMsgSetPointer = 7;

    /// An engine manager served by `services` (not owned; it must outlive this) that opens its display
    /// through `drivers` (the platform's own when empty).
    explicit CEngineMan(IEngineServices* services, DriverSource drivers = {});
    /// Deletes every render object and particle system still listed.
    ~CEngineMan() override;
    CEngineMan(const CEngineMan&) = delete;
    CEngineMan& operator=(const CEngineMan&) = delete;

    /// Shows the pointer; creates nothing.
    int StartManager() override;
    /// Shuts the engine down.
    int StopManager() override;

    /// Opens the display in video mode 0 (640 x 480), 1 (800 x 600) or 2 (1024 x 768), falling back once
    /// to 640 x 480; false when no display opens.
    virtual bool CreateDevice(plat::window::Window* window, int videoMode);
    /// Creates the scene, camera, viewport, surface manager, pointer and main lights.
    virtual bool InitScene();
    /// Releases everything the engine made, every particle system among it.
    bool Shutdown();

    /// The 2D pass: restores surfaces, draws the visible overlays (keyed ones last) and the pointer on the
    /// back buffer, then answers the pointer messages.
    virtual void Update();
    /// Moves the camera, presents the picture, draws the background and the scene for the next frame, then
    /// advances the particle systems.
    virtual void RenderFrame();

    CCameraController* GetCameraController() const { return m_camera.get(); }
    CSurfaceMan* GetSurfaceMan() override { return m_surfaces.get(); }
    CDisplayDevice* GetDisplayDevice() const { return m_device; }
    CScene* GetScene() const { return m_scene.get(); }
    CEntity* GetSceneRoot() const { return m_sceneRoot; }
    /// The viewport the scene is drawn in (the first).
    CViewport* GetViewport() const { return m_viewports[0].get(); }
    /// The display's surface maker.
    plat::gfx2d::SurfaceFactory* GetDirectDraw() const;
    int GetMouseX() const { return m_mouseX; }
    int GetMouseY() const { return m_mouseY; }
    int GetLightingMode() const { return m_lightingMode; }
    CVector GetCameraPosition() const;
    CVector GetCameraDirection() const;
    CVector GetCameraUp() const;
    bool IsPointerVisible() const { return m_pointerVisible; }
    COverlay* GetPointer() const { return m_pointer.get(); }
    int GetPointerImageId() const { return m_pointerImageId; }

    /// Appends an overlay to the render list, which then owns it; the caller keeps observing it.
    COverlay* AddRenderObject(std::unique_ptr<COverlay> overlay);
    /// A new panel overlay, appended to the render list.
    CCompoundOverlay* CreateCompoundOverlay(int panelId, int pictureId);
    /// Deletes the overlay (when not null) and takes it off the render list.
    void DeleteOverlay(COverlay* overlay);
    /// Takes the overlay off the render list without deleting it and hands it back (null when absent).
    std::unique_ptr<COverlay> RemoveRenderObject(COverlay* overlay);
    bool HasRenderObject(const COverlay* overlay) const;

    /// Builds the pointer again from its picture.
    virtual void RecreateCursor();
    /// Replaces the pointer with picture `imageId`.
    void SetCursorImage(int imageId);

    /// Shows picture asset `id` stretched behind the scene; false when it is already shown, is -1 (the
    /// picture is removed) or has no picture.
    bool SetBackgroundImage(int id);
    int GetBackgroundImageId() const { return m_backgroundId; }
    /// Sets the clear colour of the world theme in the current lighting mode.
    void SetBackgroundColour(int theme);

    /// Stores the light in the first free slot; its index, or -1 when all slots are taken.
    int AddLight(const plat::raster::Light& light, int unused = 0);
    /// Removes a light; indices outside 0..99 are refused.
    void RemoveLight(int index);
    /// The light in a slot; false when undefined, outside 0..99, or above 4 in lighting mode 1.
    bool GetLight(int index, plat::raster::Light& out) const;
    /// Stores a light in a slot; indices outside 0..99 are refused.
    void SetLight(int index, const plat::raster::Light& light);
    /// A light and its distance from a point.
    struct LightDistance {
        plat::raster::Light light;
        float distance;
    };
    /// Every light GetLight gives, in slot order, with its distance from the point.
    std::vector<LightDistance> GetLightsByDistance(const CVector& point) const;
    /// Colours the main lights for the lighting mode and the world theme, sets the clear colour and
    /// lights the scene's meshes.
    void SetupLighting(int mode, int unused = 0);
    /// Places the main lights for the wide (16 x 16) or the normal grid.
    void PlaceDefaultLights(bool wide);
    /// Turns the main lights black.
    void DarkenDefaultLights();

    /// Colours of world objects for the current theme and lighting mode.
    CVector GetCarTint() const;
    CVector GetHighlightSteady() const;
    CVector GetHighlightFlash1() const;
    CVector GetHighlightFlash2() const;

    /// A plain off-screen surface of the display (in `format`, else the screen's); throws
    /// std::runtime_error when it cannot be made.
    std::unique_ptr<plat::gfx2d::Surface> CreateDDSurface(int width, int height,
                                                          const plat::gfx2d::PixelFormat* format);
    std::unique_ptr<plat::gfx2d::Surface> CreateDDSurface(int width, int height) override {
        return CreateDDSurface(width, height, nullptr);
    }
    /// The clipped blit of overlays, help panels and track pictures; always true.
    static bool BltSurface(plat::gfx2d::Surface* destination, const plat::gfx2d::Rect* destinationRect,
                           const plat::gfx2d::Surface* source, const plat::gfx2d::Rect* sourceRect,
                           unsigned flags, std::uint32_t fillValue = 0);
    /// Makes `load` the engine's first source of the textures that mesh files name (empty: none).
    static void SetTextureLoader(std::function<CTexture*(const char* fileName)> load);
    /// Accepts a line of debug text and shows nothing.
    void SetDebugText(int line, const char* text);

    // IOverlayServices
    bool GetAssetData(int assetId, std::vector<std::uint8_t>& out) override;
    bool GetInt(int assetId, int dataId, int& out, int element) override;

private:
    void CreateCursor();
    void CreateDefaultLights();
    void DrawRenderObjects();
    void HandleMessages();
    void DrawScene();
    int GetTheme() const;

    IEngineServices* m_services;
    DriverSource m_drivers;
    std::unique_ptr<CCameraController> m_camera;
    std::unique_ptr<CSurfaceMan> m_surfaces;
    CDisplayDevice* m_device = nullptr; // from CreateDisplayDevice, freed by DeleteDisplayDevice
    std::array<std::unique_ptr<CViewport>, 4> m_viewports;
    std::unique_ptr<CScene> m_scene;
    CEntity* m_sceneRoot = nullptr;
    bool m_pointerVisible = true;
    int m_mouseX = 0;
    int m_mouseY = 0;
    std::unique_ptr<COverlay> m_pointer;
    std::vector<std::unique_ptr<COverlay>> m_renderObjects;
    std::unique_ptr<CBitmap> m_background;
    int m_backgroundId = -1;
    int m_lightingMode = 0;
    int m_pointerImageId = -1;
    bool m_fellBack = false;
};

} // namespace zentrix
