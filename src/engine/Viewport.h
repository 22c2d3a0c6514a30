#pragma once

#include "engine/ViewVolume.h"
#include "platform/gfx2d/Geometry.h"
#include "platform/raster/Types.h"

#include <cstdint>

namespace zentrix {

class CCamera;
class CDisplayDevice;
class CScene;

/// A rectangle of a display device with its clear colour and its camera: it builds the view and
/// projection from the camera and draws a scene through it.
class CViewport {
public:
    /// A viewport of the device covering (x, y, width, height); made by CDisplayDevice::CreateViewport.
    CViewport(CDisplayDevice* device, int x, int y, int width, int height);

    /// Moves the rectangle; with `clearUncovered` the bands the old rectangle covered above the new top
    /// and below the new bottom are filled black on the back and primary surfaces.
    void SetViewportRect(int top, int left, int width, int height, bool clearUncovered);
    /// The rectangle, shifted by the offset when one is given.
    void GetViewportRect(plat::gfx2d::Rect& out, const plat::gfx2d::Point* offset = nullptr) const;

    /// The preparation pass: camera set-up, then every root's Prepare.
    void PrepareScene(CCamera* camera, CScene* scene);
    /// Draws the scene through the camera: clear, projection, lights, roots with their decals and
    /// translucent parts, and the overlay colour.
    void RenderScene(CCamera* camera, CScene* scene);

    /// Builds the view matrix and the world clip planes from the camera.
    void SetupCamera(CCamera* camera);
    /// The projection for a camera over this rectangle.
    plat::raster::Matrix4 MakeProjection(const CCamera& camera) const;

    const float* GetViewMatrix() const { return m_view; }
    const ViewVolume& GetClipPlanes() const { return m_clipPlanes; }
    CDisplayDevice* GetDevice() const { return m_device; }
    CCamera* GetCamera() const { return m_camera; }
    int GetLeft() const { return m_left; }
    int GetTop() const { return m_top; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    /// Whether RenderScene clears the colour and the depth of the rectangle.
    void SetColourClear(bool on) { m_colourClear = on; }
    bool GetColourClear() const { return m_colourClear; }
    void SetDepthClear(bool on) { m_depthClear = on; }
    bool GetDepthClear() const { return m_depthClear; }
    /// The clear colour.
    void SetClearColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    std::uint32_t GetClearColour() const;
    /// A colour 0xAARRGGBB drawn over the whole picture when its alpha is not 0.
    void SetOverlayColour(std::uint32_t colour) { m_overlayColour = colour; }

private:
    void DrawOverlay();
    void SetupFog();

    float m_view[16];
    ViewVolume m_clipPlanes{};
    bool m_colourClear = true;
    bool m_depthClear = true;
    int m_top, m_left, m_width, m_height;
    CDisplayDevice* m_device;
    std::uint8_t m_clearRed = 0, m_clearGreen = 0, m_clearBlue = 0;
    std::uint32_t m_overlayColour = 0;
    CCamera* m_camera = nullptr;
};

} // namespace zentrix
