#pragma once

#include "app/standin/StandInManager.h"

namespace zentrix {

struct CRaceSetup;

/// Stands in for the campaign manager until the racing code is built: no campaign node exists.
class CCampaignManStandIn : public CStandInManager {
public:
    /// Index of the campaign node being played; -1, none.
    virtual int GetCurrentNode() const { return -1; }
    /// Copies the race set-up of campaign node `index` into `setup`; with no nodes it is left as it is.
    virtual void CopyNodeSetup(int /*index*/, CRaceSetup& /*setup*/) const {}
    /// How far the campaign has unlocked the game; it unlocks nothing, so always 0.
    virtual int GetUnlockStage() const { return 0; }
};

} // namespace zentrix
