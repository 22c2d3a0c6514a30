#include "render/AdaptiveSfxMan.h"

#include "render/EffectsLevelLinks.h"
#include "render/ParticleSystem.h"

int CAdaptiveSfxMan::StartManager() {
    m_nParticleThreshold = 0;
    m_nSkidMarks[0] = 0;
    m_nSkidMarks[1] = 70;
    m_nSkidMarks[2] = 170;
    m_bStarted = true;
    ApplyEffectsLevel();
    return 0;
}

int CAdaptiveSfxMan::StopManager() {
    m_bStarted = false;
    return 0;
}

void CAdaptiveSfxMan::ApplyEffectsLevel() {
    if (m_pLinks)
        SetLevel(m_pLinks->GetEffectsLevelOption());
}

void CAdaptiveSfxMan::SetLevel(int level) {
    // The level picks a skid-mark count, so only the three known levels may be stored.
    if (level < 0 || level >= kLevels)
        return;
    m_nLevel = level;
    CParticleSystem::SetEnabled(level > m_nParticleThreshold);
    if (!m_pLinks)
        return;
    m_pLinks->SetTauntsEnabled(level == 2);
    m_pLinks->SetShadowsOff(false);
    m_pLinks->SetSkidMarkCount(m_nSkidMarks[level]);
}
