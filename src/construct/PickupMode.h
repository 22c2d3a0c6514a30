#pragma once

#include "construct/EraserMode.h"

namespace zentrix {

/// The pick-up mode, the editor's resting mode: the piece under the pointer is highlighted with its
/// hint, and a left click lifts it into the hand (raised ground gives a height block and sinks a step).
class CWorldConstructMan::CPickupMode : public CEraserMode {
public:
    using CEraserMode::CEraserMode;

    void Activate() override;
    /// Off; the target stays recorded.
    void Deactivate() override;
    void Act() override;
    /// The route's help for the piece that breaks it, else the piece's own hint.
    void ShowHint(CWorldObject& object) override;
    void HideHint(CWorldObject& object) override;

private:
    int HintOf(CWorldObject& object) const;
};

} // namespace zentrix
