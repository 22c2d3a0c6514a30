#pragma once

#include "world/StuntTrackObject.h"

#include <memory>

namespace zentrix {

class CBoundingVolume;
class CCarObject;

/// The side-force piece: every grounded car on its road is shifted sideways across it, in proportion to
/// the elapsed time and whatever its speed; a car that goes over the edge into the fall zone beside the
/// road is put back on the route, with a fall sound in the jungle and on ice.
class CSideForceTrackObject : public CStuntTrackObject {
public:
    static constexpr float kPushStrength = 0.06f;
    /// The push is given per this many ms.
    static constexpr float kPushPeriodMs = 25.0f;
    static constexpr int kFallSound = 51163;

    explicit CSideForceTrackObject(int typeId);
    ~CSideForceTrackObject() override;

    /// The piece, then the push box and the fall box beside it.
    bool Create() override;
    /// The two boxes go.
    void Destroy() override;
    /// The piece's tick; unless the race is paused, the pushes and then the falls.
    void Update(unsigned ms) override;

    /// A grounded car moves 0.24 x ms / 25 along the piece's turned push direction.
    void Push(CCarObject& car, unsigned ms) const;
    /// The car is put back on the route, heard in the themes that have a fall sound.
    void OnFall(CCarObject& car) const;
    /// The fall sound of a theme; -1 none.
    static int FallSoundOf(int theme) { return theme == 0 || theme == 1 ? kFallSound : -1; }

    CBoundingVolume* GetPushBox() const { return m_pushBox.get(); }
    CBoundingVolume* GetFallBox() const { return m_fallBox.get(); }

private:
    std::unique_ptr<CBoundingVolume> m_fallBox;
    std::unique_ptr<CBoundingVolume> m_pushBox;
};

} // namespace zentrix
