#pragma once

#include "world/TrackObject.h"

namespace zentrix {

/// The common base of the stunt pieces that launch, turn, push or time the cars on them (cannon, DoD,
/// side force, timed death); it adds nothing of its own to the piece.
class CStuntTrackObject : public CTrackObject {
public:
    explicit CStuntTrackObject(int typeId) : CTrackObject(typeId) {}
    ~CStuntTrackObject() override;
};

} // namespace zentrix
