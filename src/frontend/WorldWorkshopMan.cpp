#include "frontend/WorldWorkshopMan.h"

namespace zentrix {

CWorldWorkshopMan::CWorldWorkshopMan() {
    for (int i = 0; i < kCarCount; ++i)
        m_carIds.push_back(kFirstCarId + i);
}

CWorldWorkshopMan::~CWorldWorkshopMan() {
    CWorldWorkshopMan::Destroy();
}

int CWorldWorkshopMan::Create() {
    const int result = CWorldMan::Create();
    return InitSharedWorld() ? result : 1;
}

int CWorldWorkshopMan::Destroy() {
    if (!IsStarted())
        return 0;
    FreeSharedWorld();
    return CWorldMan::Destroy();
}

void CWorldWorkshopMan::Deactivate() {
    if (GetCurrentWorldId() == kWorkshop)
        CWorldMan::Deactivate();
}

} // namespace zentrix
