#include "render/AdaptiveSfxMan.h"

#include "render/EffectsLevelLinks.h"
#include "render/ParticleSystem.h"

namespace zentrix {

int CAdaptiveSfxMan::StartManager() {
    m_particleThreshold = 0;
    m_skidMarks[0] = 0;
    m_skidMarks[1] = 70;
    m_skidMarks[2] = 170;
    m_started = true;
    ApplyEffectsLevel();
    return 0;
}

int CAdaptiveSfxMan::StopManager() {
    m_started = false;
    return 0;
}

void CAdaptiveSfxMan::ApplyEffectsLevel() {
    if (m_links)
        SetLevel(m_links->GetEffectsLevelOption());
}

void CAdaptiveSfxMan::SetLevel(int level) {
    // The level picks a skid-mark count, so only the three known levels may be stored.
    if (level < 0 || level >= kLevels)
        return;
    m_level = level;
    CParticleSystem::SetEnabled(level > m_particleThreshold);
    if (!m_links)
        return;
    m_links->SetTauntsEnabled(level == 2);
    m_links->SetShadowsOff(false);
    m_links->SetSkidMarkCount(m_skidMarks[level]);
}

} // namespace zentrix
