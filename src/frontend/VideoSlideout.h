#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

class CWorldMan;

/// The video panel (slide-out 17, game states 20 and 22, over the video world): the panel a video is
/// shown with. `SetVideo` names the video it is to play next and the game state that follows it; the
/// panel has no buttons.
class CVideoSlideout : public CSlideOut {
public:
    /// The video the panel is to play next.
    struct SVideo {
        int videoId = -1;   ///< -1: none named yet
        int nextState = -1; ///< the game state that follows the video
        bool flags[2] = {false, false};
        int durationMs = 0;
        int extra[2] = {0, 0};
    };

    CVideoSlideout(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    /// Names the video the video panel plays next, the game state to follow it, and its two flags,
    /// duration and two further values, kept as given.
    static void SetVideo(int videoId, int nextState, bool firstFlag = false, bool secondFlag = false,
                         int durationMs = 0, int firstExtra = 0, int secondExtra = 0);
    /// The video named last in this run (none until the run's video panel is made and named one).
    static const SVideo& GetVideo();

    /// No control acts.
    void OnControl(int) override {}
    /// Keeps the video world.
    void AttachWorld() override;

    CWorldMan* GetWorld() const { return m_world; }

private:
    CWorldMan* m_world = nullptr;
};

} // namespace zentrix
