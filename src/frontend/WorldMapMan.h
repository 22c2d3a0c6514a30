#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the world map (id 7); it uses the shared world as it is. The screen's own scene is still
/// to come.
class CWorldMapMan : public CWorldMan {};

} // namespace zentrix
