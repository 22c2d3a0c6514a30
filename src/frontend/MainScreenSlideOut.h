#pragma once

#include "ui/SlideOut.h"

#include <memory>

namespace zentrix {

class CVornMessageBox;
class CWorldMan;

/// The main screen's panel (game state 0, over the main screen world): on to the second main screen,
/// the track editor, the options, or the quit box, whose first button asks the game to quit.
class CMainScreenSlideOut : public CSlideOut {
public:
    /// Control ids.
    static constexpr int kRaceButton = 0;
    static constexpr int kEditorButton = 1;
    static constexpr int kOptionsButton = 2;
    static constexpr int kQuitButton = 3;
    /// The quit box's text and title, and the spoken hint of the first showing.
    static constexpr int kQuitText = 7703;
    static constexpr int kQuitTitle = 7702;
    static constexpr int kStartHint = 57110;

    CMainScreenSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);
    ~CMainScreenSlideOut() override;

    /// When not yet shown: the click sounds, the slide-in with its controls, and a new quit box; the
    /// panel's own help item is silenced once it has been played.
    bool Activate(bool immediate) override;
    /// When shown: the quit box goes, then the panel.
    void Deactivate(bool immediate) override;
    /// The quit box's answer, the slide, the start hint at the first full showing, and the flag that the
    /// main screen has been reached.
    void Update(int ms) override;
    void OnControl(int controlId) override;
    /// Keeps the main screen world.
    void AttachWorld() override;

    bool IsQuitBoxOpen() const { return m_quitBoxOpen; }
    CVornMessageBox* GetQuitBox() const { return m_quitBox.get(); }
    bool HasPlayedStartHint() const { return m_startHintPlayed; }
    CWorldMan* GetWorld() const { return m_world; }

    /// Whether the main screen has been fully shown in front at least once in this run (cleared only as
    /// the run's main screen panel is made): the help character draws only from then on, also after a
    /// start straight into the options.
    static bool HasMainScreenBeenReached() { return s_mainScreenReached; }

private:
    static inline bool s_mainScreenReached = false;

    std::unique_ptr<CVornMessageBox> m_quitBox;
    bool m_quitBoxOpen = false;
    bool m_startHintPlayed = false;
    CWorldMan* m_world = nullptr;
};

} // namespace zentrix
