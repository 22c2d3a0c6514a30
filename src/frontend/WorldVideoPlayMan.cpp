#include "frontend/WorldVideoPlayMan.h"

namespace zentrix {

CWorldVideoPlayMan::~CWorldVideoPlayMan() {
    CWorldVideoPlayMan::Deactivate();
    CWorldVideoPlayMan::Destroy();
}

int CWorldVideoPlayMan::Create() {
    return CWorldMan::Create();
}

int CWorldVideoPlayMan::Destroy() {
    return CWorldMan::Destroy();
}

void CWorldVideoPlayMan::Deactivate() {
    if (GetCurrentWorldId() == kVideoPlay)
        CWorldMan::Deactivate();
}

void CWorldVideoPlayMan::Frame(unsigned /*ms*/) {}

} // namespace zentrix
