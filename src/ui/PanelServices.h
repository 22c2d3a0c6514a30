#pragma once

#include "ui/HelpPanel.h"

#include "foundation/math/Vector.h"
#include "platform/gfx2d/Geometry.h"

#include <memory>
#include <string>

namespace plat::text {
class Font;
}

namespace zentrix {

class CBitmap;
class CCompoundOverlay;
class CMessage;
class COverlay;

/// What the panels and their controls take from the rest of the game: the layout records, pictures,
/// texts and interface fonts of the asset manager, the engine manager's overlays, mouse and frame, spoken
/// help, interface sounds, the application messages and the window's mouse buttons. The application
/// fills it; tests record it.
class IPanelServices {
public:
    virtual ~IPanelServices() = default;

    /// The video mode: 0 is 640 x 480, 1 is 800 x 600.
    virtual int GetVideoMode() const = 0;

    /// One integer of an asset's data record; false (out unchanged) when it cannot be read.
    virtual bool GetInt(int assetId, int dataId, int& out, int element) = 0;
    /// One vector of an asset's data record; false (out unchanged) when it cannot be read.
    virtual bool GetVector(int assetId, int dataId, CVector& out, int element) = 0;
    /// A TGA picture asset in a new bitmap; null when it cannot be read.
    virtual std::unique_ptr<CBitmap> GetBitmap(int assetId) = 0;
    /// The help panel that panels with spoken help share (null: none); the game owns it, and it outlives
    /// every panel.
    virtual IHelpPanel* GetHelpPanel() = 0;
    /// Exactly the bytes of a text asset; false when it cannot be read.
    virtual bool LoadAssetIntoString(int assetId, std::string& out) = 0;
    /// Interface font 0..3 of the asset manager; null when there is none.
    virtual plat::text::Font* GetFont(int index) = 0;

    /// The picture of panel record `resourceId`, put in the engine's drawing list; null without an engine.
    virtual CCompoundOverlay* CreateCompoundOverlay(int resourceId, int pictureId) = 0;
    /// Takes an overlay of the drawing list off it and deletes it.
    virtual void DeleteOverlay(COverlay* overlay) = 0;
    /// Puts an overlay of the drawing list at its end, so it is drawn over every other.
    virtual void AddRenderObject(COverlay* overlay) = 0;
    /// The mouse position the engine last drew the pointer at, in screen pixels.
    virtual plat::gfx2d::Point GetMousePosition() const = 0;
    /// The engine's 2D pass: overlays and the pointer onto the back buffer.
    virtual void UpdateEngine() = 0;
    /// The engine's frame: presents the back buffer and draws the next scene.
    virtual void RenderFrame() = 0;

    /// Plays spoken help item `helpId` (mode 1: a panel has slid in).
    virtual void PlayHelp(int helpId, int mode) = 0;
    /// A control under the pointer reports its help item (once per update while hovered).
    virtual void OnHover(int helpId) = 0;
    /// The pointer left a control with help item `helpId`.
    virtual void OnHoverEnd(int helpId) = 0;
    /// Forgets the help item waiting to be played for a hover.
    virtual void CancelHover() = 0;

    /// Plays an interface sound by id; a missing sound plays nothing.
    virtual void PlayUiSound(int soundId) = 0;
    /// Stops the spoken help item that is playing.
    virtual void StopHelpSound() = 0;

    /// Takes the latest application message of `type` into `out`; false when there is none.
    virtual bool GetLatestMessage(int type, CMessage& out) = 0;
    /// Whether mouse button `button` (0 left, 2 right) is held down now.
    virtual bool IsMouseButtonDown(int button) const = 0;
    /// The mouse position the window last reported, in screen pixels.
    virtual plat::gfx2d::Point GetWindowMousePosition() const = 0;
};

} // namespace zentrix
