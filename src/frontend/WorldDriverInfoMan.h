#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the driver info screen (id 10); it uses the shared world as it is. The screen's own scene is
/// still to come.
class CWorldDriverInfoMan : public CWorldMan {};

} // namespace zentrix
