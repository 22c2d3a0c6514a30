#include "world/ShadowWorldLink.h"

#include "engine/Frame.h"
#include "world/TopographyWorldLink.h"
#include "world/WorldMan.h"
#include "world/WorldTopography.h"

namespace zentrix {

CEntity* CShadowWorldLink::GetWorldFrame() {
    return CWorldMan::GetWorldFrame();
}

int CShadowWorldLink::GetCurrentWorldId() const {
    return CWorldMan::GetCurrentWorldId();
}

float CShadowWorldLink::GetGroundHeight(float x, float z, CGroundHint& hint) {
    const CWorldTopography* terrain = CTopographyWorldLink::GetRaceTerrain();
    return terrain ? terrain->GetHeight(x, z, &hint, nullptr) : 0.0f;
}

} // namespace zentrix
