#pragma once

#include "ui/SlideOut.h"

#include <array>

namespace zentrix {

class CWorldMan;

/// The panel of the start-up and exit pictures (game state 21, over the start-up pictures world). At
/// start-up it shows its own picture for a little over 3000 ms of shown time and then moves to the main
/// screen. Once the game is exiting it shows nothing itself: three exit pictures follow one another as
/// the screen's background, each for a little over 15000 ms of shown time, and then the game ends.
/// Keys and clicks never cut the pictures short. A quit while the start-up picture is up leaves the game
/// state as it is, so the panel stays on screen: it turns to the exit pictures by itself.
class CQelSlideOut : public CSlideOut {
public:
    /// The shown time after which the start-up picture gives way, and each exit picture its follower.
    static constexpr int kStartUpMs = 3000;
    static constexpr int kExitPictureMs = 15000;
    /// The exit pictures in order, ended by -1.
    static constexpr std::array<int, 4> kExitPictures = {33210, 33211, 33212, -1};

    CQelSlideOut(int resourceId, CSlideOutMan* manager);

    /// When not yet shown: slides in with its controls; no picture yet and no time counted. When exiting,
    /// its own picture is filled with the colour key, so only the background shows.
    bool Activate(bool immediate) override;
    /// When shown: its controls off, then off screen.
    void Deactivate(bool immediate) override;
    /// Counts the shown time and moves on from picture to picture.
    void Update(int ms) override;
    /// Nothing: no control cuts the pictures short.
    void OnControl(int) override {}
    /// Keeps the start-up pictures world.
    void AttachWorld() override;

    int GetElapsed() const { return m_elapsed; }
    /// -1 before the first picture is up; then the index in kExitPictures (0 at start-up).
    int GetPictureIndex() const { return m_pictureIndex; }
    CWorldMan* GetWorld() const { return m_world; }

private:
    /// From now on the exit pictures: the panel's own picture becomes the colour key, no time counted yet.
    void EnterExitMode();
    /// Takes the panel off at once and moves the game to `state`.
    void Finish(int state);

    bool m_exitMode = false;
    int m_elapsed = 0;
    int m_pictureIndex = -1;
    CWorldMan* m_world = nullptr;
};

} // namespace zentrix
