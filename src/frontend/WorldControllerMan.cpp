#include "frontend/WorldControllerMan.h"

namespace zentrix {

CWorldControllerMan::~CWorldControllerMan() {
    CWorldControllerMan::Deactivate();
    CWorldControllerMan::Destroy();
}

int CWorldControllerMan::Create() {
    CWorldControllerMan::Destroy();
    return CWorldMan::Create();
}

int CWorldControllerMan::Destroy() {
    return CWorldMan::Destroy();
}

void CWorldControllerMan::Deactivate() {
    if (GetCurrentWorldId() == kController)
        CWorldMan::Deactivate();
}

void CWorldControllerMan::Frame(unsigned /*ms*/) {}

} // namespace zentrix
