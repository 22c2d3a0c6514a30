#pragma once

#include "ui/HelpPanel.h"

#include <memory>
#include <vector>

namespace zentrix {

class CControl;
class CCompoundOverlay;
class CSlideOutMan;
class IPanelServices;

/// The base of every screen panel: a picture with controls on it that slides between a hidden and a
/// shown screen position. Its layout comes from the record keyed by its resource id: help item (384),
/// picture (100), shown and hidden positions (101, 102), control count (103) and control types (105).
/// It passes clicks, moves and characters to its controls, keeps track of the control under the
/// pointer, updates one control per update, and may host the help panel that all panels share.
///
/// A panel class supplies OnControl (its command handler) and AttachWorld, and overrides what it needs.
class CSlideOut {
public:
    /// Slide states.
    enum SlideState : int { kShown = 0, kHiddenState = 1, kSlidingIn = 2, kSlidingOut = 3 };

    /// Layout fields of the panel.
    static constexpr int kFieldPicture = 100;
    static constexpr int kFieldShownPosition = 101;
    static constexpr int kFieldHiddenPosition = 102;
    static constexpr int kFieldControlCount = 103;
    static constexpr int kFieldControlType = 105;
    static constexpr int kFieldHelpId = 384;
    /// The layout type of a dummy control (which counts as a text box once made).
    static constexpr int kLayoutDummyControl = 6;
    /// A data field holds at most this many elements, so no record names more controls.
    static constexpr int kMaxControls = 256;
    /// The sound a panel keeps whatever SetSound is given.
    static constexpr int kPanelSound = 50104;
    /// Slide steps: 0.05 per update, so 20 updates from one end to the other.
    static constexpr float kSlideStep = 0.05f;

    /// A panel of record `resourceId`, owned by `manager`; `usesHelpPanel` puts the shared help panel on it.
    CSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);
    virtual ~CSlideOut();
    CSlideOut(const CSlideOut&) = delete;
    CSlideOut& operator=(const CSlideOut&) = delete;

    /// Reads the layout and creates the controls, hidden.
    virtual void Init();
    /// Deletes the controls and closes the shared help panel.
    virtual void Shutdown();
    /// Puts the panel on screen, at once or sliding in; true.
    virtual bool Activate(bool immediate);
    /// Takes the panel off screen, at once or sliding out.
    virtual void Deactivate(bool immediate);
    virtual void ReservedA(int) {}
    virtual void ReservedB(int) {}
    /// One frame: the slide, one control's update, the help panel, the hovered control.
    virtual void Update(int ms);
    /// A typed character while the panel is in front.
    virtual void OnChar(int) {}
    /// The pointer moved to panel point (x, y): every control is told.
    virtual void MouseMove(int x, int y);
    /// The wheel turned while the panel is in front.
    virtual void OnMouseWheel(int) {}
    /// The panel's command handler: control `controlId` was operated.
    virtual void OnControl(int controlId) = 0;
    /// A mouse button was held down for 35 frames.
    virtual void OnMouseHeld(int, int, int) {}
    /// A click at panel point (x, y): every control is asked; true when any took it.
    virtual bool MouseClick(int x, int y, int buttons);
    /// The resource id of the panel's record.
    virtual int GetId() const { return m_resourceId; }
    /// Takes up the world the panel works with (called at the end of Init).
    virtual void AttachWorld() = 0;
    /// Every control's Draw, then the help panel's.
    virtual void DrawControls(bool highlight);
    /// Makes the panel's picture afresh.
    virtual void CreateOverlay();
    /// Gives the panel's picture back to the engine.
    virtual void ReleaseOverlay();

    /// The first control with id `id`, or null.
    CControl* FindControl(int id) const;
    /// Every control's EnableIfDisabled.
    void ActivateControls();
    /// Every control's DisableIfEnabled.
    void DeactivateControls();
    /// Control `controlId`'s SetSound.
    void SetControlSound(int controlId, int sound, int name);
    /// Keeps the panel sound, whatever is given.
    void SetSound(int sound, int name);
    void SetSoundId(int sound) { m_soundId = sound; }
    int GetSoundId() const { return m_soundId; }
    /// True without a picture, else whether picture point (x, y) is transparent.
    bool IsTransparentAt(int x, int y);
    /// Whether screen point (x, y) lies on a piece of the panel's picture as drawn now.
    bool HitsOverlay(int x, int y) const;

    int GetState() const { return m_state; }
    CCompoundOverlay* GetOverlay() const { return m_overlay; }
    bool IsActive() const { return m_active; }
    bool UsesHelpPanel() const { return m_usesHelpPanel; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    /// The help item a panel's opening starts: none.
    int GetOpenSoundId() const { return 0; }
    void SetHelpId(int id) { m_helpId = id; }
    int GetHelpId() const { return m_helpId; }
    bool IsInitialised() const { return m_initialised; }
    bool HasStartedHelp() const { return m_helpStarted; }
    int GetPictureId() const { return m_pictureId; }
    int GetOverlayWidth() const { return m_overlayWidth; }
    int GetOverlayHeight() const { return m_overlayHeight; }
    float GetSlideParameter() const { return m_t; }
    /// The controls in layout order.
    const std::vector<std::unique_ptr<CControl>>& GetControlList() const { return m_controls; }
    CControl* GetHoveredControl() const { return m_hovered; }
    CSlideOutMan* GetManager() const { return m_manager; }
    /// The services of the owning manager.
    IPanelServices& Services() const;

    /// The help panel this panel shows (null when it uses none, or before Init).
    IHelpPanel* GetHelpPanel() const { return m_helpPanel; }
    /// How many panels exist.
    static int LiveCount() { return s_liveCount; }

protected:
    /// Makes control `index` of layout type `type`; null for a type that makes nothing.
    virtual std::unique_ptr<CControl> CreateControl(int type, int index, int sliderOrdinal);

private:
    void SlideIn();
    void SlideOut();
    void PlaceAt(float f);
    void TrackHover();
    bool HelpPanelOpen() const;

    static inline int s_liveCount = 0;

    int m_resourceId;
    int m_pictureId = 0;
    int m_overlayWidth = 0;
    int m_overlayHeight = 0;
    int m_shownX = 0;
    int m_shownY = 0;
    int m_hiddenX = 0;
    int m_hiddenY = 0;
    float m_t = 0.0f;
    int m_x = 0;
    int m_y = 0;
    int m_state = kHiddenState;
    CCompoundOverlay* m_overlay = nullptr; ///< made and deleted through the engine
    CSlideOutMan* m_manager;
    std::vector<std::unique_ptr<CControl>> m_controls;
    CControl* m_hovered = nullptr;
    IHelpPanel* m_helpPanel = nullptr; ///< shared by the panels, owned by the game
    IHelpPanel* m_hoveredHelp = nullptr;
    bool m_initialised = false;
    bool m_active = false;
    bool m_usesHelpPanel;
    bool m_helpStarted = false;
    std::size_t m_updateCursor = 0;
    int m_soundId = kPanelSound;
    int m_helpId = -1;
};

} // namespace zentrix
