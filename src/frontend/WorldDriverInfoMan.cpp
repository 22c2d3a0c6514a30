#include "frontend/WorldDriverInfoMan.h"

namespace zentrix {

CWorldDriverInfoMan::~CWorldDriverInfoMan() {
    CWorldDriverInfoMan::Deactivate();
    CWorldDriverInfoMan::Destroy();
}

int CWorldDriverInfoMan::Create() {
    CWorldDriverInfoMan::Destroy();
    return CWorldMan::Create();
}

int CWorldDriverInfoMan::Destroy() {
    return CWorldMan::Destroy();
}

void CWorldDriverInfoMan::Deactivate() {
    if (GetCurrentWorldId() == kDriverInfo)
        CWorldMan::Deactivate();
}

void CWorldDriverInfoMan::Frame(unsigned /*ms*/) {}

} // namespace zentrix
