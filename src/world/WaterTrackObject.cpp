#include "world/WaterTrackObject.h"

#include "render/ParticleSystem.h"
#include "world/BoundingVolume.h"
#include "world/CarObject.h"
#include "world/WorldSounds.h"

#include <vector>

namespace zentrix {

bool CWaterTrackObject::WaterOf(int typeId, SWater& out) {
    switch (typeId) {
    case 15274:
    case 16274:
    case 17274:
    case 18274:
        out = {CVector(60.0f, 5.0f, 60.0f), CVector(-32.0f, -5.0f, -32.0f)};
        return true;
    case 16277:
        out = {CVector(86.0f, 10.0f, 64.0f), CVector(32.0f, -5.0f, -32.0f)};
        return true;
    case 16279:
        out = {CVector(50.0f, 5.0f, 50.0f), CVector(16.0f, -5.0f, -16.0f)};
        return true;
    default:
        // A box of no size would meet every car near the piece's centre: no water at all.
        return false;
    }
}

CWaterTrackObject::CWaterTrackObject(int typeId) : CTrackObject(typeId) {}

CWaterTrackObject::~CWaterTrackObject() = default;

bool CWaterTrackObject::Create() {
    const bool made = CTrackObject::Create();
    SWater water;
    if (!WaterOf(GetTypeId(), water)) {
        LogProblem("no water box for this piece");
        return made;
    }
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kBox;
    desc.sizes = {water.sizes.x, water.sizes.y, water.sizes.z};
    m_box = MakeStuntVolume(desc, water.offset);
    return made;
}

void CWaterTrackObject::Update(unsigned ms) {
    CTrackObject::Update(ms);
    if (!m_box)
        return;
    std::vector<CCarObject*> cars;
    FindCarObjectsIn(*m_box, cars);
    for (CCarObject* car : cars)
        SinkCar(*car);
}

void CWaterTrackObject::SinkCar(CCarObject& car) const {
    if (IWorldSounds* sounds = Sounds())
        sounds->PlaySoundAt(kSplashSound, Position(), false, car.GetDriverSlot());
    car.Respawn(kRespawnDelayMs);
    const CVector at(car.Position().x, Position().y + kSurfaceHeight, car.Position().z);
    CParticleSystem::Create(kSplashParticles, at, nullptr, -1.0f);
}

} // namespace zentrix
