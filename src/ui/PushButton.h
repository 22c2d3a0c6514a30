#pragma once

#include "ui/Control.h"

#include <memory>

namespace zentrix {

class CBitmap;

/// The image button of the panels: up to four pictures chosen by display state and by whether it is
/// pressed or under the pointer, a pressed phase that lasts a number of updates, and a click that goes
/// to the panel's command handler with a click sound. It keeps the panel picture under itself and puts
/// it back before each redraw, so it can change its picture without the panel being redrawn.
class CPushButton : public CControl {
public:
    /// Button states; a toggle button reads 0 and 1 as unchecked and checked.
    enum ButtonState : int { kNormal = 0, kPressed = 1, kHighlighted = 2 };

    /// Layout fields of a button.
    static constexpr int kFieldNormalImage = 108;
    static constexpr int kFieldInactiveImage = 109;
    static constexpr int kFieldPressedImage = 110;
    static constexpr int kFieldHighlightImage = 111;
    static constexpr int kFieldPressTime = 118;

    /// Button `controlId` of `parent`, inactive, its pictures loaded from the layout record.
    CPushButton(CSlideOut* parent, int controlId);
    ~CPushButton() override;

    /// Reloads the pictures and the press time from the layout record; inactive afterwards.
    void ReadLayout();
    /// Deletes every picture and the saved background.
    void ReleaseImages();
    /// Replaces the picture of one role (-1: none); no redraw.
    void SetImage(int id);
    void SetDisabledImage(int id);
    void SetPressedImage(int id);
    void SetHighlightImage(int id);
    /// Replaces the picture drawn over the button at offset (x, y) (id -1: none).
    void SetExtraImage(int id, int x, int y);
    /// Plays the click sound unless it is 0 or -1.
    void PlayClickSound();

    int GetButtonState() const { return m_buttonState; }
    int GetPressTime() const { return m_pressTime; }

    bool HandleMouse(int x, int y, int buttons) override;
    bool OnMouseMove(int, int) override { return false; }
    bool OnEnter() override;
    bool OnLeave() override;
    bool OnChar(int) override { return false; }
    bool EnableIfDisabled() override;
    bool DisableIfEnabled() override;
    bool Disable() override;
    bool Enable() override;
    bool Hide() override;
    bool Show() override;
    /// Draws the picture of the current state; with `flag` false the saved background is put back first.
    bool Draw(bool flag) override;
    void UpdateControl() override;
    /// A call no panel makes use of; false.
    virtual bool Reserved(int) { return false; }

protected:
    /// Moves to display state `state` at (x, y) with the button state reset, and redraws.
    void ChangeState(int state, int x, int y);
    /// Reports the help item while the pointer is over the button.
    void ReportHover();
    std::unique_ptr<CBitmap> LoadImage(int id) const;

    std::unique_ptr<CBitmap> m_normal;
    std::unique_ptr<CBitmap> m_inactive;
    std::unique_ptr<CBitmap> m_pressed;
    std::unique_ptr<CBitmap> m_highlight;
    std::unique_ptr<CBitmap> m_background;
    std::unique_ptr<CBitmap> m_extra;
    int m_lastX = -1;
    int m_lastY = -1;
    bool m_drawn = false;
    int m_buttonState = kNormal;
    int m_stateBeforePress = kNormal;
    int m_pressTime = 1;
    int m_pressCountdown = 0;
    int m_extraX = 0;
    int m_extraY = 0;
    bool m_restoreBackground = true;
};

} // namespace zentrix
