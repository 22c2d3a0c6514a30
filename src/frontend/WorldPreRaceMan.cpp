#include "frontend/WorldPreRaceMan.h"

#include "app/ScreenSupport.h"
#include "foundation/base/Message.h"

namespace zentrix {

namespace {

constexpr int kBackground = 34011;

} // namespace

CWorldPreRaceMan::~CWorldPreRaceMan() {
    CWorldPreRaceMan::Deactivate();
    CWorldPreRaceMan::Destroy();
}

int CWorldPreRaceMan::Create() {
    const int result = CWorldMan::Create();
    return InitSharedWorld() ? result : 1;
}

int CWorldPreRaceMan::Destroy() {
    if (IsStarted())
        FreeSharedWorld();
    return CWorldMan::Destroy();
}

void CWorldPreRaceMan::Activate() {
    CWorldMan::Activate();
    SetScreenBackground(kBackground);
    PostScreenMessage(VORNMSG_SHOW_POINTER);
}

void CWorldPreRaceMan::Deactivate() {
    if (GetCurrentWorldId() != kPreRace)
        return;
    SetScreenBackground(-1);
    CWorldMan::Deactivate();
}

} // namespace zentrix
