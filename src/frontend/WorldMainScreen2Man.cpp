#include "frontend/WorldMainScreen2Man.h"

#include "app/ScreenSupport.h"
#include "foundation/base/Message.h"

namespace zentrix {

namespace {

constexpr int kBackground = 34764;

} // namespace

CWorldMainScreen2Man::~CWorldMainScreen2Man() {
    CWorldMainScreen2Man::Deactivate();
    CWorldMainScreen2Man::Destroy();
}

int CWorldMainScreen2Man::Create() {
    const int result = CWorldMan::Create();
    return InitSharedWorld() ? result : 1;
}

int CWorldMainScreen2Man::Destroy() {
    if (IsStarted())
        FreeSharedWorld();
    return CWorldMan::Destroy();
}

void CWorldMainScreen2Man::Activate() {
    CWorldMan::Activate();
    SetScreenBackground(kBackground);
    PostScreenMessage(VORNMSG_SHOW_POINTER);
}

void CWorldMainScreen2Man::Deactivate() {
    if (GetCurrentWorldId() == kMainScreen2)
        CWorldMan::Deactivate();
}

} // namespace zentrix
