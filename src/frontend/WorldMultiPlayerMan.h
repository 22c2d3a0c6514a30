#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the multiplayer set-up (id 9); it uses the shared world as it is. The screen's own scene is
/// still to come.
class CWorldMultiPlayerMan : public CWorldMan {};

} // namespace zentrix
