#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the controller set-up (id 12); it uses the shared world as it is. The screen's own scene is
/// still to come.
class CWorldControllerMan : public CWorldMan {};

} // namespace zentrix
