#include "construct/WorldConstructMan.h"

namespace zentrix {

int CWorldConstructMan::Create() {
    const int result = CWorldMan::Create();
    return InitSharedWorld() ? result : 1;
}

int CWorldConstructMan::Destroy() {
    FreeSharedWorld();
    return CWorldMan::Destroy();
}

} // namespace zentrix
