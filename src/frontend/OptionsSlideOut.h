#pragma once

#include "ui/SlideOut.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zentrix {

class CBitmap;
class CPushButton;
class CVornMessageBox;
class CWorldMan;

/// The options panel (game state 2, over the options world): the effects and music volumes, the
/// effects detail level, the screen size (always 640 x 480) and the input device of each of the four
/// controllers. It marks controllers that share a device and will not go back while any do. A notice
/// tells the player once per run when the screen had to fall back to 640 x 480 at start-up.
class COptionsSlideOut : public CSlideOut {
public:
    /// Control ids.
    static constexpr int kBackButton = 0;
    static constexpr int kVolumeSlider = 1;
    static constexpr int kBalanceSlider = 2;
    static constexpr int kFirstEffectsToggle = 3; ///< levels 0, 1 and 2 are 3, 4 and 5
    static constexpr int kSmallScreenToggle = 6;  ///< 640 x 480
    static constexpr int kLargeScreenToggle = 7;  ///< 800 x 600
    static constexpr int kFirstDeviceButton = 8;  ///< controllers 1 to 4 are 8 to 11
    static constexpr int kControllers = 4;
    static constexpr int kEffectsLevels = 3;
    /// Pictures: a device button shows base + 2 + device, and highlight base + 2 + device under the
    /// pointer; a controller that does not exist shows the base.
    static constexpr int kDeviceImageBase = 24545;
    static constexpr int kDeviceHighlightBase = 24555;
    static constexpr int kConflictMark = 24546;
    static constexpr int kConflictMarkHighlighted = 24564;
    static constexpr int kHighlightMark = 24563;
    /// The sound of a slider let go at a new value.
    static constexpr int kSliderSound = 51070;
    /// Message boxes: the screen fell back to 640 x 480; two controllers share a device.
    static constexpr int kFallBackText = 7912;
    static constexpr int kFallBackTitle = 7911;
    static constexpr int kConflictText = 7914;
    static constexpr int kConflictTitle = 7913;
    /// The help item spoken each time the panel has slid in, from the second showing on (or the first
    /// after a start without a relaunch, when the layout names it).
    static constexpr int kHelpItem = 57300;

    COptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);
    ~COptionsSlideOut() override;

    /// When not yet shown: every control set from the options and the input manager, the boxes made.
    bool Activate(bool immediate) override;
    /// When shown: off screen, then the boxes go.
    void Deactivate(bool immediate) override;
    /// The slide, the sliders' values into the options, the device buttons and their marks, the boxes'
    /// answers and the fall-back notice.
    void Update(int ms) override;
    void OnControl(int controlId) override;
    /// Keeps the options world.
    void AttachWorld() override;

    bool HasConflict() const { return m_conflict; }
    bool IsMarked(int controller) const;
    int GetControllerCount() const { return m_controllerCount; }
    bool IsConflictBoxOpen() const { return m_conflictBoxOpen; }
    bool IsFallBackBoxOpen() const { return m_fallBackBoxOpen; }
    int GetActivationCount() const { return m_activations; }
    CWorldMan* GetWorld() const { return m_world; }

private:
    CPushButton* DeviceButton(int controller) const;
    void ReadSliders();
    void CheckConflicts();
    void DrawMarks();
    void TakeAnswers();
    void ShowFallBackNotice();
    /// The toggle of `level` checked and disabled, the other two unchecked and enabled.
    void SelectEffectsLevel(int level);
    /// The checked toggles are silent, the others click.
    void RefreshToggleSounds();
    void SetUpDeviceButtons();
    void NextDevice(int controller);

    bool m_volumeChanged = true;
    bool m_balanceChanged = true;
    int m_storedVolume = 0;
    int m_storedBalance = 0;
    bool m_playSliderSound = false;
    std::unique_ptr<CBitmap> m_conflictMark;
    std::unique_ptr<CBitmap> m_conflictMarkHighlighted;
    std::unique_ptr<CBitmap> m_highlightMark;
    std::uint8_t m_controllerCount = 2;
    bool m_redrawDevices = true;
    bool m_conflict = false;
    std::unique_ptr<CVornMessageBox> m_fallBackBox;
    bool m_fallBackBoxOpen = false;
    std::unique_ptr<CVornMessageBox> m_conflictBox;
    bool m_conflictBoxOpen = false;
    int m_previousSlideState = kHiddenState;
    bool m_fallBackNoticeShown = false;
    int m_activations = 0;
    std::array<bool, kControllers> m_marks{};
    int m_effectsLevel = -1; ///< the level whose toggle is checked (-1: none)
    CWorldMan* m_world = nullptr;
};

} // namespace zentrix
