#pragma once

#include "foundation/base/ManagerInterface.h"

namespace zentrix {

class IEffectsLevelLinks;

/// Turns the player's effects level (0, 1 or 2) into the settings of the effects: whether ordinary
/// particle systems are created, whether the race world taunts, and how many skid marks are kept.
class CAdaptiveSfxMan : public CManagerInterface {
public:
    static constexpr int kLevels = 3;

    /// A manager setting through `links` (not owned; null: only the particle switch is set).
    explicit CAdaptiveSfxMan(IEffectsLevelLinks* links) : m_links(links) {}
    ~CAdaptiveSfxMan() override = default;

    /// Resets the threshold and counts, then applies the stored level.
    int StartManager() override;
    int StopManager() override;

    /// Applies the stored effects level when it is 0, 1 or 2; any other value changes nothing.
    void ApplyEffectsLevel();
    /// Stores and applies a level; one outside 0..2 changes nothing.
    void SetLevel(int level);
    /// The level applied last; -1 before the first.
    int GetLevel() const { return m_level; }

private:
    IEffectsLevelLinks* m_links;
    int m_level = -1;
    int m_particleThreshold = 0;
    int m_skidMarks[kLevels] = {0, 70, 170};
};

} // namespace zentrix
