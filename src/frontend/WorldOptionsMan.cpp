#include "frontend/WorldOptionsMan.h"

#include "app/ScreenSupport.h"
#include "foundation/base/Message.h"

namespace zentrix {

CWorldOptionsMan::~CWorldOptionsMan() {
    CWorldOptionsMan::Deactivate();
    CWorldOptionsMan::Destroy();
}

int CWorldOptionsMan::Create() {
    const int result = CWorldMan::Create();
    return InitSharedWorld() ? result : 1;
}

int CWorldOptionsMan::Destroy() {
    if (IsStarted())
        FreeSharedWorld();
    return CWorldMan::Destroy();
}

void CWorldOptionsMan::Activate() {
    CWorldMan::Activate();
    PostScreenMessage(VORNMSG_SHOW_POINTER);
}

void CWorldOptionsMan::Deactivate() {
    if (GetCurrentWorldId() == kOptions)
        CWorldMan::Deactivate();
}

} // namespace zentrix
