#include "world/SideForceTrackObject.h"

#include "foundation/math/Rotation.h"
#include "world/BoundingVolume.h"
#include "world/CarObject.h"
#include "world/WorldSounds.h"

#include <vector>

namespace zentrix {

namespace {

const CVector kPushDirection(1.0f, 0.0f, 0.0f);
const CVector kPushOffset(0.0f, 0.0f, -10.0f);
const CVector kFallOffset(0.0f, -10.0f, -32.0f);

CBoundingVolumeDesc Box(float x, float y, float z) {
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kBox;
    desc.sizes[0] = x;
    desc.sizes[1] = y;
    desc.sizes[2] = z;
    return desc;
}

} // namespace

CSideForceTrackObject::CSideForceTrackObject(int typeId) : CStuntTrackObject(typeId) {}

CSideForceTrackObject::~CSideForceTrackObject() = default;

bool CSideForceTrackObject::Create() {
    const bool made = CTrackObject::Create();
    m_fallBox = MakeStuntVolume(Box(20.0f, 25.0f, 20.0f), kFallOffset);
    m_pushBox = MakeStuntVolume(Box(27.0f, 10.0f, 40.0f), kPushOffset);
    return made;
}

void CSideForceTrackObject::Destroy() {
    m_fallBox.reset();
    m_pushBox.reset();
    CStuntTrackObject::Destroy();
}

void CSideForceTrackObject::Update(unsigned ms) {
    CTrackObject::Update(ms);
    if (IsRacePaused() || !m_pushBox || !m_fallBox)
        return;
    std::vector<CCarObject*> cars;
    FindCarObjectsIn(*m_pushBox, cars);
    for (CCarObject* car : cars)
        if (car->IsGrounded())
            Push(*car, ms);
    FindCarObjectsIn(*m_fallBox, cars);
    for (CCarObject* car : cars)
        OnFall(*car);
}

void CSideForceTrackObject::Push(CCarObject& car, unsigned ms) const {
    CVector step = RotateAboutYAxis(kPushDirection, GetTurnAngle());
    step.SetLength(2.0f * kPushStrength);
    step = step * (2.0f * static_cast<float>(ms) / kPushPeriodMs);
    car.SetPositionVector(car.Position() + step);
}

void CSideForceTrackObject::OnFall(CCarObject& car) const {
    car.Respawn(-1);
    const int sound = FallSoundOf(CurrentTheme());
    if (sound != -1)
        if (IWorldSounds* sounds = Sounds())
            sounds->PlaySoundAt(sound, Position(), false, car.GetDriverSlot());
}

} // namespace zentrix
