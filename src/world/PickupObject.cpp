#include "world/PickupObject.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/math/Rotation.h"
#include "world/BoundingSphere.h"
#include "world/CarLink.h"
#include "world/TrackObject.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace zentrix {

CPickupObject::CPickupObject(int assetId, int lifeMs) : CWorldObject(assetId, lifeMs, nullptr, -1) {}

CPickupObject::~CPickupObject() = default;

bool CPickupObject::Create() {
    CWorldObject::Create();
    SetOrientation(CVector(0.0f, 0.0f, -1.0f), CVector(0.0f, 1.0f, 0.0f));

    IWorldServices* services = CWorldMan::GetServices();
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    int displayId = -1;
    // A display asset the data does not know would make an empty object: the pickup then shows nothing.
    if (assets && assets->GetInt(GetTypeId(), kFieldDisplayObject, displayId) && displayId > 0 &&
        assets->GetObjectKind(displayId) >= 0 && AddChild(displayId, kDisplayChild))
        m_display = GetChild(kDisplayChild);
    if (m_display)
        m_display->SetOrientation(CVector(0.0f, 0.0f, 1.0f), CVector(0.0f, 1.0f, 0.0f));
    else
        SetCreated(false);

    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kSphere;
    desc.centre = Position();
    desc.sizes = {kCollectRadius, 0.0f, 0.0f};
    m_volume = std::make_unique<CBoundingSphere>();
    m_volume->Create(desc);

    if (CWorldMan::GetCurrentWorldId() == CWorldMan::kRace)
        if (IWorldSounds* sounds = services ? services->GetSounds() : nullptr)
            sounds->PlaySoundAt(kAppearSound, Position(), false, 0);
    return true;
}

void CPickupObject::Destroy() {
    CWorldObject::Destroy();
    m_volume.reset();
}

void CPickupObject::SetType(int type) {
    m_type = type;
    SetCreated(true);
}

void CPickupObject::ForgetObject(const CWorldObject* object) {
    CWorldObject::ForgetObject(object);
    // A pad taken off the grid leaves no pickup floating over its empty cell.
    if (object && object == m_piece) {
        m_piece = nullptr;
        SetDead();
    }
}

void CPickupObject::Update(unsigned ms) {
    CWorldObject::Update(ms);
    if (m_piece && m_piece->IsDead())
        SetDead();
    m_elapsed += ms;
    UpdateMotion(ms);
    CheckCollection();
}

void CPickupObject::UpdateMotion(unsigned ms) {
    if (!m_display)
        return;
    const double phase =
        2.0 * std::numbers::pi * static_cast<double>(m_elapsed % kBobPeriodMs) / kBobPeriodMs;
    const float height = static_cast<float>(std::sin(phase)) * kBobAmplitude - 1.5f;
    const float angle = static_cast<float>(ms) * kTurnPerMs;
    CVector direction;
    RotateVectorAboutAxis(m_display->Direction(), direction, m_display->Up(), angle);
    m_display->SetPosition(0.0f, height + kBobBaseHeight, 0.0f);
    m_display->SetOrientation(direction, m_display->Up());
}

void CPickupObject::CheckCollection() {
    if (!m_volume)
        return;
    m_volume->SetCentre(Position());
    m_volume->SetOrientation(Direction(), CVector(0.0f, 1.0f, 0.0f));
    std::vector<CWorldObject*> met;
    CWorldMan::GetActiveObjectsIn(this, *m_volume, met);
    // Every car in the sphere this update takes it, not only the first.
    for (CWorldObject* object : met) {
        auto* car = dynamic_cast<ICarLink*>(object);
        if (car && car->TakesPickups() && car->GetPickupType() != m_type) {
            car->GivePickup(m_type);
            SetDead();
        }
    }
}

} // namespace zentrix
