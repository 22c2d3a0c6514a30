#include "race/WorldRaceMan.h"

namespace zentrix {

int CWorldRaceMan::Create() {
    const int result = CWorldMan::Create();
    return InitSharedWorld() ? result : 1;
}

int CWorldRaceMan::Destroy() {
    FreeSharedWorld();
    return CWorldMan::Destroy();
}

void CWorldRaceMan::Deactivate() {
    m_raceStarted = false;
    CWorldMan::Deactivate();
}

void CWorldRaceMan::StartRace(const CRaceSetup& setup, bool lapOfHonour) {
    m_raceStarted = true;
    m_setup = setup;
    m_lapOfHonour = lapOfHonour;
}

} // namespace zentrix
