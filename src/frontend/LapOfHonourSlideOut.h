#pragma once

#include "ui/SlideOut.h"
#include "world/LapOfHonourLink.h"

namespace zentrix {

/// The panel of the lap of honour (game state 18, over the race world started again as world 3): it
/// names the winner while the winner's car, alone and computer-driven, circles the track without end.
/// The world switch has it rewrite the race's set-up for that run. Leaving is the race world's business.
class CLapOfHonourSlideOut : public CSlideOut, public ILapOfHonourLink {
public:
    /// Text controls: the heading and the winner's name.
    static constexpr int kHeadingText = 0;
    static constexpr int kWinnerText = 1;
    /// The heading's text, and the first driver name (driver index 0; 12 is the last).
    static constexpr int kHeadingTextId = 7980;
    static constexpr int kFirstNameTextId = 7000;
    static constexpr int kLastDriverIndex = 12;
    /// No winner remembered.
    static constexpr int kNoWinner = -2;

    CLapOfHonourSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    /// The set-up of the lap of honour: the race marked over, no lap limit, the winner's car, skin and
    /// tyre alone in the first entry with a computer driver; the panel shows the heading and the name.
    void FillRaceSetup(CRaceSetup& setup) override;

    /// When not yet shown: the slide-in with its texts.
    bool Activate(bool immediate) override;
    /// When shown: the winner is forgotten, then the slide-out.
    void Deactivate(bool immediate) override;
    /// A new picture, and the taunt monitor moved onto it.
    void CreateOverlay() override;
    /// No button acts.
    void OnControl(int) override {}
    /// Nothing: the set-up is written for the one race world there is.
    void AttachWorld() override {}

    int GetWinner() const { return m_winner; }

private:
    int m_winner = kNoWinner;
};

} // namespace zentrix
