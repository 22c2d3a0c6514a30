#include "race/WorldRaceMusicLink.h"

#include "race/RaceResultsMan.h"
#include "race/WorldRaceMan.h"

namespace zentrix {

bool CWorldRaceMusicLink::IsLastLap() const {
    const CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    const CRaceResultsMan* results = race ? race->GetResults() : nullptr;
    return results && results->IsLastLap();
}

} // namespace zentrix
