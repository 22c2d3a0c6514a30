#include "frontend/WorldMapMan.h"

namespace zentrix {

CWorldMapMan::~CWorldMapMan() {
    CWorldMapMan::Deactivate();
    CWorldMapMan::Destroy();
}

int CWorldMapMan::Create() {
    CWorldMapMan::Destroy();
    return CWorldMan::Create();
}

int CWorldMapMan::Destroy() {
    return CWorldMan::Destroy();
}

void CWorldMapMan::Deactivate() {
    if (GetCurrentWorldId() == kWorldMap)
        CWorldMan::Deactivate();
}

void CWorldMapMan::Frame(unsigned /*ms*/) {}

} // namespace zentrix
