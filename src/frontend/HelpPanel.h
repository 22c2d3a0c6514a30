#pragma once

#include "ui/HelpPanel.h"

#include <memory>

namespace zentrix {

class CHelpButton;
class CHelpVideoPlayer;
class IHelpPanelServices;

/// The help corner that every panel with spoken help shows: a 130 x 130 picture at (0, 350) with the
/// animated help character and the help button. One instance serves the panels in turn: a panel's
/// activation opens it on that panel, its deactivation closes it; it lives longer than every panel.
class CHelpPanel : public IHelpPanel {
public:
    /// Panel states: the character shown, hidden, or the panel closed.
    enum State : int { kClosed = -1, kHidden = 0, kShown = 1 };
    static constexpr int kX = 0;
    static constexpr int kY = 350;
    static constexpr int kSize = 130;
    /// The colour key of 2D pictures, 0x00BBGGRR.
    static constexpr std::uint32_t kMagenta = 0xFF00FF;

    /// A closed help panel over `services`, which outlive it.
    explicit CHelpPanel(IHelpPanelServices& services);
    /// Closes it.
    ~CHelpPanel() override;
    CHelpPanel(const CHelpPanel&) = delete;
    CHelpPanel& operator=(const CHelpPanel&) = delete;

    /// Puts the help corner on `panel`: makes the button, the character and the picture (on the drawing
    /// list) and takes up the state it had when last closed.
    void Open(CSlideOut* panel) override;
    /// Keeps the state and deletes the parts, the picture taken off the drawing list first.
    void Close() override;
    bool IsOpen() const override { return m_open; }
    COverlay* GetOverlay() const override { return m_overlay; }
    /// Takes the picture off the drawing list (the panel keeps it meanwhile).
    void DetachOverlay() override;
    bool HitTest(int x, int y) const override;
    bool OnHoverEnter() override;
    void OnHoverLeave() override;
    void OnMouseMove(int x, int y) override;
    /// A click on the help button presses it and switches help on or off; true when it was pressed.
    bool OnClick(int x, int y, int buttons) override;
    /// Clears the picture, draws the character at rest when it is shown, then the button.
    void Redraw(bool noErase) override;
    /// Shows the character while help is on for a panel with spoken help (else clears the picture), then
    /// updates and draws the button.
    void Update(int ms) override;

    /// Lets the character act out clip group `group` (CHelpVideoPlayer::Group).
    void DriveCharacter(int group);

    int GetState() const { return m_state; }
    CSlideOut* GetPanel() const { return m_panel; }
    CHelpButton* GetButton() const { return m_button.get(); }
    CHelpVideoPlayer* GetVideo() const { return m_video.get(); }

private:
    bool IsHelpOn() const;
    void AttachOverlay();
    void ClearPicture();

    IHelpPanelServices& m_services;
    bool m_open = false;
    std::unique_ptr<CHelpButton> m_button;
    int m_state = kClosed;
    int m_previousState = kHidden;
    std::unique_ptr<CHelpVideoPlayer> m_video;
    COverlay* m_overlay = nullptr;               ///< the picture, owned by the drawing list while on it
    std::unique_ptr<COverlay> m_detachedOverlay; ///< the picture while it is off the drawing list
    CSlideOut* m_panel = nullptr;
};

} // namespace zentrix
