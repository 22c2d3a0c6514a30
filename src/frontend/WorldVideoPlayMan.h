#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the video screen (id 13); it uses the shared world as it is. The screen's own scene is still
/// to come.
class CWorldVideoPlayMan : public CWorldMan {};

} // namespace zentrix
