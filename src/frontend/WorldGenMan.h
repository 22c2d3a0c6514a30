#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the start-up and exit pictures (id 14); it uses the shared world as it is. The screen's own
/// scene is still to come.
class CWorldGenMan : public CWorldMan {};

} // namespace zentrix
