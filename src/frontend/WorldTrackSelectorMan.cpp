#include "frontend/WorldTrackSelectorMan.h"

namespace zentrix {

CWorldTrackSelectorMan::~CWorldTrackSelectorMan() {
    CWorldTrackSelectorMan::Deactivate();
    CWorldTrackSelectorMan::Destroy();
}

int CWorldTrackSelectorMan::Create() {
    CWorldTrackSelectorMan::Destroy();
    return CWorldMan::Create();
}

int CWorldTrackSelectorMan::Destroy() {
    return CWorldMan::Destroy();
}

void CWorldTrackSelectorMan::Deactivate() {
    if (GetCurrentWorldId() == kTrackSelector)
        CWorldMan::Deactivate();
}

void CWorldTrackSelectorMan::Frame(unsigned /*ms*/) {}

} // namespace zentrix
