#pragma once

#include "app/standin/StandInManager.h"

namespace zentrix {

/// Stands in for the help manager until spoken help is built: it plays no help.
class CHelpManagerStandIn : public CStandInManager {
public:
    /// The per-frame call (made twice a frame).
    virtual void Update(int /*ms*/) {}
    /// Takes up the help setting kept over a restart.
    virtual void RestoreAfterRestart() {}
    /// Plays help item `helpId` (mode 1: a panel has slid in).
    virtual void PlayHelp(int /*helpId*/, int /*mode*/) {}
    /// A control under the pointer reports its help item.
    virtual void OnHover(int /*helpId*/) {}
    /// The pointer left a control with help item `helpId`.
    virtual void OnHoverEnd(int /*helpId*/) {}
    /// Forgets the help item waiting for a hover.
    virtual void CancelHover() {}
};

} // namespace zentrix
