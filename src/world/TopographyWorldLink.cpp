#include "world/TopographyWorldLink.h"

#include "foundation/assets/AssetMan.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldTopography.h"

namespace zentrix {

int CTopographyWorldLink::GetCurrentWorldId() const {
    return CWorldMan::GetCurrentWorldId();
}

void CTopographyWorldLink::GetGridBounds(CVector& minimum, CVector& maximum) const {
    CWorldMan::GetGridBounds(minimum, maximum);
}

float CTopographyWorldLink::GetSurfaceParam(int field) const {
    IWorldServices* services = CWorldMan::GetServices();
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    float value = 0.0f;
    const int theme = assets ? assets->GetWorld() : -1;
    if (theme < 0 || theme >= CAssetMan::kThemeCount ||
        !assets->GetFloat(kFirstSurfaceAsset + theme, field, value))
        return 0.0f;
    return value;
}

const CWorldTopography* CTopographyWorldLink::GetRaceTerrain() {
    return dynamic_cast<const CWorldTopography*>(CWorldMan::GetRaceTopography());
}

} // namespace zentrix
