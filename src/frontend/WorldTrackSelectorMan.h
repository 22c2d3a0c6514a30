#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the track selector (id 8); it uses the shared world as it is. The screen's own scene is still
/// to come.
class CWorldTrackSelectorMan : public CWorldMan {};

} // namespace zentrix
