#include "frontend/WorldGenMan.h"

#include "app/ScreenSupport.h"

namespace zentrix {

CWorldGenMan::~CWorldGenMan() {
    CWorldGenMan::Deactivate();
    CWorldGenMan::Destroy();
}

int CWorldGenMan::Create() {
    CWorldGenMan::Destroy();
    return CWorldMan::Create();
}

int CWorldGenMan::Destroy() {
    return CWorldMan::Destroy();
}

void CWorldGenMan::Activate() {
    CWorldMan::Activate();
    SetScreenBackground(-1);
}

void CWorldGenMan::Deactivate() {
    if (GetCurrentWorldId() != kStartUp)
        return;
    SetScreenBackground(-1);
    CWorldMan::Deactivate();
}

void CWorldGenMan::Frame(unsigned /*ms*/) {}

} // namespace zentrix
