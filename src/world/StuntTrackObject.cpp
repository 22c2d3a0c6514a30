#include "world/StuntTrackObject.h"

namespace zentrix {

CStuntTrackObject::~CStuntTrackObject() = default;

} // namespace zentrix
