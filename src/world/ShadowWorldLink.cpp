#include "world/ShadowWorldLink.h"

#include "engine/Frame.h"
#include "world/WorldMan.h"
#include "world/WorldTopographyLink.h"

namespace zentrix {

CEntity* CShadowWorldLink::GetWorldFrame() {
    return CWorldMan::GetWorldFrame();
}

int CShadowWorldLink::GetCurrentWorldId() const {
    return CWorldMan::GetCurrentWorldId();
}

float CShadowWorldLink::GetGroundHeight(float x, float z, CGroundHint& /*hint*/) {
    IWorldTopographyLink* ground = CWorldMan::GetRaceTopography();
    return ground ? ground->GetHeight(x, z) : 0.0f;
}

} // namespace zentrix
