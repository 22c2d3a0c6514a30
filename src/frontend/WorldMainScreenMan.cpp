#include "frontend/WorldMainScreenMan.h"

#include "app/ScreenSupport.h"
#include "foundation/base/EventMan.h"
#include "render/CameraController.h"
#include "render/EngineMan.h"

namespace zentrix {

namespace {

constexpr int kBackground = 34616;
constexpr int kPointerPicture = 28001;
const CVector kCameraPosition(-92.8705f, 198.06f, 159.637f);
const CVector kCameraDirection(0.445615f, -0.738966f, -0.49633f);
const CVector kCameraUp(0.488826f, 0.673669f, -0.554273f);

} // namespace

CWorldMainScreenMan::~CWorldMainScreenMan() {
    CWorldMainScreenMan::Deactivate();
    CWorldMainScreenMan::Destroy();
}

int CWorldMainScreenMan::Create() {
    const int result = CWorldMan::Create();
    return InitSharedWorld() ? result : 1;
}

int CWorldMainScreenMan::Destroy() {
    if (IsStarted())
        FreeSharedWorld();
    return CWorldMan::Destroy();
}

void CWorldMainScreenMan::Activate() {
    CWorldMan::Activate();
    SetScreenBackground(kBackground);
    PostScreenMessage(VORNMSG_SHOW_POINTER);
    if (CEventMan* events = ScreenEvents())
        events->SetPointerMessage(kPointerPicture);
    CEngineMan* engine = ScreenEngine();
    if (CCameraController* camera = engine ? engine->GetCameraController() : nullptr) {
        camera->SetPosition(kCameraPosition);
        camera->SetOrientation(kCameraDirection, kCameraUp);
    }
}

void CWorldMainScreenMan::Deactivate() {
    if (GetCurrentWorldId() == kMainScreen)
        CWorldMan::Deactivate();
}

} // namespace zentrix
