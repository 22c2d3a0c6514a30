#include "frontend/WorldMultiPlayerMan.h"

namespace zentrix {

CWorldMultiPlayerMan::~CWorldMultiPlayerMan() {
    CWorldMultiPlayerMan::Deactivate();
    CWorldMultiPlayerMan::Destroy();
}

int CWorldMultiPlayerMan::Create() {
    CWorldMultiPlayerMan::Destroy();
    return CWorldMan::Create();
}

int CWorldMultiPlayerMan::Destroy() {
    return CWorldMan::Destroy();
}

void CWorldMultiPlayerMan::Deactivate() {
    if (GetCurrentWorldId() == kMultiPlayer)
        CWorldMan::Deactivate();
}

void CWorldMultiPlayerMan::Frame(unsigned /*ms*/) {}

} // namespace zentrix
