#pragma once

#include <memory>

namespace zentrix {

class COverlay;
class IHelpPanelServices;

/// The help button in the help panel's picture: normal, highlighted under the pointer, pressed for
/// 500 ms of updates after a click. It reports its own help item while highlighted and the help
/// corner's while the pointer rests there, on the panels that show it.
class CHelpButton {
public:
    enum State : int { kNormal = 0, kPressed = 1, kHighlighted = 2 };

    static constexpr int kNormalImage = 34003;
    static constexpr int kPressedImage = 34004;
    static constexpr int kHighlightImage = 34005;
    static constexpr int kEraseImage = 34004;
    /// Where the button lies in the help picture.
    static constexpr int kX = 4;
    static constexpr int kY = 86;
    static constexpr int kPressMs = 500;
    /// Help items: the help corner, the button itself.
    static constexpr int kHelpCorner = 57100;
    static constexpr int kHelpButton = 57101;
    /// The help corner of a panel: x below 123 and y above 357.
    static constexpr int kCornerRight = 123;
    static constexpr int kCornerTop = 357;
    /// The unlock stage at which the corner no longer offers its help.
    static constexpr int kCornerHelpEndStage = 21;

    /// The button of the help picture `overlay`.
    CHelpButton(IHelpPanelServices& services, COverlay* overlay);
    ~CHelpButton();
    CHelpButton(const CHelpButton&) = delete;
    CHelpButton& operator=(const CHelpButton&) = delete;

    /// Whether the panel of resource id `panelId` shows the help button.
    static bool ShowsHelpButton(int panelId);

    /// Back to normal, never drawn.
    void Reset();
    /// Whether (x, y) lies on the button, its edges included.
    bool HitTest(int x, int y) const;
    /// A click at (x, y): a hit on a button that is not pressed presses and draws it; true then.
    bool Press(int x, int y);
    /// The press countdown, the button's and the corner's hover reports (on panels that show it).
    void Update(int ms);
    /// Notes whether the pointer rests in the help corner.
    void OnMouseMove(int x, int y);
    /// The pointer came onto the button: a normal button is highlighted; false when it was not.
    bool OnHoverEnter();
    /// The pointer left the button.
    void OnHoverLeave();
    /// Draws the image of the state, over the erase image at the last place drawn unless `noErase`.
    void Draw(bool noErase);

    int GetState() const { return m_state; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    bool IsCornerHovered() const { return m_cornerHover; }

private:
    bool FrontShowsButton() const;

    IHelpPanelServices& m_services;
    COverlay* m_overlay;
    std::unique_ptr<COverlay> m_normal;
    std::unique_ptr<COverlay> m_pressed;
    std::unique_ptr<COverlay> m_highlight;
    std::unique_ptr<COverlay> m_erase;
    int m_lastX = 0;
    int m_lastY = 0;
    bool m_drawn = false;
    int m_state = kNormal;
    int m_previousState = kNormal;
    int m_pressTimer = 0;
    bool m_visible = true;
    bool m_cornerHover = false;
    int m_x = kX;
    int m_y = kY;
    int m_width = 0;
    int m_height = 0;
};

} // namespace zentrix
