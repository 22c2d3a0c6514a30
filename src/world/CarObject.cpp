#include "world/CarObject.h"

#include "app/DriverControls.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/CarAsset.h"
#include "render/EngineMan.h"
#include "render/SpriteSet.h"
#include "render/VornMesh.h"
#include "world/CarDriverLink.h"
#include "world/CarPickupHelper.h"
#include "world/RaceWorldLink.h"
#include "world/WheelContactPoint.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <cmath>

namespace zentrix {

namespace {

constexpr int kFirstTyreTexture = 60480;
constexpr int kLiveryTexture = 60470;
constexpr int kFirstMarkerTexture = 60302;
constexpr int kMarkerSlots = 4;

CAssetMan* Assets() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetAssetMan() : nullptr;
}

bool RaceHasStarted() {
    IRaceWorldLink* race = CWorldMan::GetRaceWorld();
    return race && race->HasStarted();
}

} // namespace

CCarObject::CCarObject(int assetId)
    : CActiveWorldObject(assetId, -1), m_tyreTextureIds{kFirstTyreTexture, kFirstTyreTexture + 1,
                                                        kFirstTyreTexture + 2},
      m_liveryTextureIds(kLiveries, kLiveryTexture) {}

CCarObject::~CCarObject() {
    CCarObject::Destroy();
}

// ---- set-up ----

bool CCarObject::Init() {
    CCarObject::Destroy();
    CAssetMan* assets = Assets();
    if (assets) {
        if (RaceHasStarted()) {
            // The car's own copy: tuning and handling changes in the race touch this car only.
            m_ownAsset = std::make_unique<CCarAsset>(*assets);
            m_ownAsset->Load(GetTypeId());
            m_carAsset = m_ownAsset.get();
        } else {
            m_carAsset = dynamic_cast<CCarAsset*>(assets->GetWorldObjectAsset(GetTypeId()));
        }
    }
    CActiveWorldObject::Create();

    if (m_carAsset) {
        m_acceleration = m_carAsset->GetAcceleration();
        m_braking = m_carAsset->GetBraking();
        const float lean = m_carAsset->GetParam8();
        m_rollScale = lean * 0.055f;
        m_pitchScale = lean * 0.055f;
        m_pitchRate = lean * 0.0005f;
        const float drop = m_carAsset->GetParam9();
        m_wheelDropLimit = drop * 0.001f;
        m_leanOffsetScale = drop * 0.027f;
    }
    const bool raceSet = !m_carAsset || m_carAsset->UseRaceSet();
    if (raceSet) {
        CreateBodyPivot();
        AttachBody();
        AttachIndicators();
    }
    m_pickupHelper = std::make_unique<CCarPickupHelper>(*this);
    AttachWheels();
    if (m_carAsset)
        SetSkin(m_carAsset->GetLivery(), raceSet ? m_carAsset->GetSkinRow() : kWorkshopSkinRow);
    m_collisionTurnMs = 0;
    m_startLockMs = 0;
    ShowPlayerMarker(3000);
    if (RaceHasStarted()) {
        IWorldServices* services = CWorldMan::GetServices();
        CEngineMan* engine = services ? services->GetEngineMan() : nullptr;
        if (engine && GetMesh()) {
            const CVector tint = engine->GetCarTint();
            GetMesh()->SetVertexLightColour(true, tint.x, tint.y, tint.z);
        }
    }
    return true;
}

void CCarObject::Destroy() {
    EndAllEffects();
    m_pickupHelper.reset();
    m_carAsset = nullptr;
    m_ownAsset.reset();
    CActiveWorldObject::Destroy();
}

int CCarObject::GetAssetId() const {
    return m_carAsset ? m_carAsset->GetWorkshopParam() : 0;
}

bool CCarObject::SetSkin(int skin, int assetId) {
    if ((!m_carAsset || m_carAsset->UseRaceSet()))
        return m_body ? m_body->SetSkin(skin, assetId) : false;
    return CWorldObject::SetSkin(skin, assetId);
}

int CCarObject::GetExtraAssetId(int i) const {
    switch (i) {
    case 0:
        return 60221;
    case 1:
        return 60220;
    default:
        return -1;
    }
}

CVector CCarObject::BodyDirection() const {
    if (!m_bodyPivot)
        return Direction();
    CVector v = m_bodyPivot->Direction();
    v.TransformBetweenFrames(kDefaultDirection, kUpVector, Direction(), Up());
    return v;
}

CVector CCarObject::BodyUp() const {
    if (!m_bodyPivot)
        return Up();
    CVector v = m_bodyPivot->Up();
    v.TransformBetweenFrames(kDefaultDirection, kUpVector, Direction(), Up());
    return v;
}

CVector CCarObject::BodyPosition() const {
    if (!m_bodyPivot || !m_bodyPivot->GetMesh())
        return Position();
    float m[16];
    m_bodyPivot->GetMesh()->GetWorldMatrix(m);
    return CVector(m[12], m[13], m[14]);
}

void CCarObject::GetWorldMatrix(float* out) const {
    // A workshop car has no pivot: its own mesh stands for the body.
    if (m_bodyPivot && m_bodyPivot->GetMesh())
        m_bodyPivot->GetMesh()->GetWorldMatrix(out);
    else
        CWorldObject::GetWorldMatrix(out);
}

void CCarObject::CreateBodyPivot() {
    AddChild(kPivotAsset, kChildPivot);
    m_bodyPivot = GetChild(kChildPivot);
    ResetBodyPivot();
}

void CCarObject::ResetBodyPivot() {
    if (!m_bodyPivot)
        return;
    m_bodyPivot->SetOrientation(CVector(0.0f, 0.0f, -1.0f), kUpVector);
    m_bodyPivot->SetPositionVector(CVector());
}

void CCarObject::AttachBody() {
    if (!m_bodyPivot || !m_carAsset)
        return;
    m_bodyPivot->AddChild(m_carAsset->GetRaceBodyId(), kChildBody);
    m_body = m_bodyPivot->GetChild(kChildBody);
}

void CCarObject::AttachIndicators() {
    AddChild(kDisableIndicatorAsset, kChildDisable);
    AddChild(kPickupIndicatorAsset, kChildPickup);
    m_disableIndicator = GetChild(kChildDisable);
    m_pickupIndicator = GetChild(kChildPickup);
    if (m_disableIndicator)
        m_disableIndicator->SetPositionVector(CVector());
    if (m_pickupIndicator)
        m_pickupIndicator->SetPositionVector(CVector());
    SetPickupIndicatorVisible(false);
}

float CCarObject::WorkshopWheelHeight(int wheelAssetId) {
    switch (wheelAssetId) {
    case 60460:
        return 8.64f;
    case 60461:
        return 13.45f;
    case 60462:
        return 18.7f;
    case 60463:
        return 29.58f;
    case 60464:
        return 29.64f;
    default:
        return 0.0f;
    }
}

int CCarObject::RaceWheelTexture(int type) {
    switch (type) {
    case 0:
        return 60523;
    case 1:
        return 60524;
    case 2:
        return 60522;
    default:
        return -1;
    }
}

void CCarObject::AttachWheels() {
    if (!m_carAsset)
        return;
    const CCarAsset& a = *m_carAsset;
    const int wheelA = a.GetWheelAssetIdA();
    const int wheelB = a.GetWheelAssetIdB();
    const CVector positions[4] = {a.GetWheelPosition1(), a.GetWheelPosition2(), a.GetWheelPosition3(),
                                  a.GetWheelPosition4()};
    const bool raceSet = a.UseRaceSet();
    for (int i = 0; i < 4; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const int wheelAsset = i < 2 ? wheelA : wheelB;
        if (raceSet) {
            if (!m_bodyPivot)
                break;
            m_bodyPivot->AddChild(0, kChildFirstMount + i);
            CWorldObject* mount = m_bodyPivot->GetChild(kChildFirstMount + i);
            m_wheelMount[slot] = mount;
            mount->AddChild(wheelAsset, kChildWheel);
            m_wheel[slot] = mount->GetChild(kChildWheel);
            mount->SetPositionVector(positions[i]);
            m_wheel[slot]->SetPositionVector(CVector());
        } else {
            AddChild(wheelAsset, i);
            m_wheel[slot] = GetChild(i);
            CVector at = positions[i];
            at.y += WorkshopWheelHeight(wheelAsset);
            m_wheel[slot]->SetPositionVector(at);
        }
    }
    // A livery or tyre type outside the lists (data can hold any number) leaves the textures as they are.
    const int livery = a.GetLivery();
    if (livery >= 0 && livery < kLiveries)
        ReplaceWheelTexture(kLiveryWheelTexture, m_liveryTextureIds[static_cast<std::size_t>(livery)]);
    const int tyre = a.GetTyreType();
    if (!raceSet) {
        if (tyre >= 0 && tyre < kTyreTypes)
            ReplaceWheelTexture(kWorkshopTyreTexture, m_tyreTextureIds[static_cast<std::size_t>(tyre)]);
    } else if (const int texture = RaceWheelTexture(tyre); texture != -1) {
        for (CWorldObject* wheel : m_wheel)
            if (wheel)
                wheel->ReplaceTexture(kRaceTyreTexture, texture);
    }
}

bool CCarObject::ReplaceWheelTexture(int fromId, int toId) {
    if (fromId == toId)
        return false;
    for (CWorldObject* wheel : m_wheel)
        if (!wheel)
            return false;
    for (const int i : {1, 0, 3, 2})
        m_wheel[static_cast<std::size_t>(i)]->ReplaceTexture(fromId, toId);
    return true;
}

int CCarObject::GetWheelTextureId() const {
    if (!m_carAsset)
        return -1;
    const int tyre = m_carAsset->GetTyreType();
    if (m_carAsset->UseRaceSet())
        return RaceWheelTexture(tyre);
    return tyre >= 0 && tyre < kTyreTypes ? m_tyreTextureIds[static_cast<std::size_t>(tyre)] : -1;
}

// ---- driver ----

void CCarObject::AssignDriver(ICarDriverLink* driver) {
    m_driver = driver;
    if (!driver)
        return;
    driver->SetCar(this);
    if (IWorldSounds* sounds = Sounds(); sounds && m_carAsset)
        sounds->StartCarSound(driver->GetSlot(), m_carAsset->GetEngineSoundId());
}

CDriver* CCarObject::GetDriver() const {
    return m_driver ? m_driver->AsDriver() : nullptr;
}

int CCarObject::GetDriverSlot() const {
    return m_driver ? m_driver->GetSlot() : -1;
}

IWorldSounds* CCarObject::Sounds() const {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetSounds() : nullptr;
}

CDriverControls CCarObject::ReadControls() const {
    CDriverControls controls;
    if (m_driver && m_disableTimeMs <= 0)
        m_driver->GetControls(controls);
    return controls;
}

// ---- handling, tyres and liveries ----

float CCarObject::GetAcceleration() const {
    return m_carAsset ? m_carAsset->GetAcceleration() : 0.0f;
}

float CCarObject::GetBraking() const {
    return m_carAsset ? m_carAsset->GetBraking() : 0.0f;
}

float CCarObject::GetTopSpeed() const {
    return m_carAsset ? m_carAsset->GetTopSpeed() : 0.0f;
}

float CCarObject::GetWheelGripFactor() const {
    return m_carAsset ? m_carAsset->GetSideGrip() : 1.0f;
}

int CCarObject::GetTyreType() const {
    return m_carAsset ? m_carAsset->GetTyreType() : -1;
}

void CCarObject::ApplyTuning(int type) {
    if (m_carAsset)
        m_carAsset->ApplyTuning(type);
}

void CCarObject::SetLivery(int livery) {
    if (m_carAsset)
        m_carAsset->SetLivery(livery);
}

bool CCarObject::SetTyreType(int type) {
    if (!m_carAsset || type < 0 || type >= kTyreTypes || type == m_carAsset->GetTyreType())
        return false;
    const int old = m_carAsset->GetTyreType();
    const bool oldKnown = old >= 0 && old < kTyreTypes;
    if (oldKnown)
        ReplaceWheelTexture(m_tyreTextureIds[static_cast<std::size_t>(old)],
                            m_tyreTextureIds[static_cast<std::size_t>(type)]);
    m_carAsset->ApplyTuning(type);
    if (m_carAsset->UseRaceSet()) {
        // A type from data outside the list left the wheels' own texture on: that is what goes.
        const int from = oldKnown ? RaceWheelTexture(old) : kRaceTyreTexture;
        const int to = RaceWheelTexture(type);
        if (from != to)
            for (CWorldObject* wheel : m_wheel)
                if (wheel)
                    wheel->ReplaceTexture(from, to);
    }
    return true;
}

void CCarObject::InitLivery(int livery) {
    if (!m_carAsset)
        return;
    const int row = m_carAsset->GetSkinRow();
    if (livery == -2) {
        if (m_carAsset->GetDefaultLivery() != m_carAsset->GetLivery() && m_body)
            m_body->SetSkin(m_carAsset->GetDefaultLivery(), row);
        m_liveryChoice = m_carAsset->GetDefaultLivery();
        return;
    }
    if (livery != -1 && livery != m_carAsset->GetLivery() && m_body)
        m_body->SetSkin(livery, row);
    m_liveryChoice = livery;
}

bool CCarObject::SelectLivery(int livery) {
    if (!m_carAsset || livery < 0 || livery >= kLiveries || livery == m_carAsset->GetLivery())
        return false;
    const int current = m_carAsset->GetLivery();
    if (current >= 0 && current < kLiveries)
        ReplaceWheelTexture(m_liveryTextureIds[static_cast<std::size_t>(current)],
                            m_liveryTextureIds[static_cast<std::size_t>(livery)]);
    m_carAsset->SetLivery(livery);
    return SetSkin(livery, m_carAsset->UseRaceSet() ? m_carAsset->GetSkinRow() : kWorkshopSkinRow);
}

bool CCarObject::ChangeModel(int assetId) {
    CAssetMan* assets = Assets();
    if (!m_carAsset || !assets)
        return true;
    ForgetSkin();
    if (!m_ownAsset) {
        // The shared asset stands for every car of the old id: the new model goes into a copy of the car's
        // own, with the livery and tyre type it had.
        auto copy = std::make_unique<CCarAsset>(*assets);
        copy->Load(GetTypeId());
        copy->SetLivery(m_carAsset->GetLivery());
        copy->ApplyTuning(m_carAsset->GetTyreType());
        m_ownAsset = std::move(copy);
        m_carAsset = m_ownAsset.get();
    }
    m_carAsset->Reload(assetId);
    return true;
}

// ---- markers and indicators ----

void CCarObject::ShowPlayerMarker(int ms) {
    IWorldServices* services = CWorldMan::GetServices();
    if (!services || services->GetGameState() != kRaceState)
        return;
    if (m_markerTimeMs > 0 || m_playerMarker || !m_driver || !m_driver->IsHuman())
        return;
    const int slot = m_driver->GetSlot();
    // A car whose record gives no sprites has no set to show the marker in.
    if (slot < 0 || slot >= kMarkerSlots || !GetSpriteSet())
        return;
    m_playerMarker = GetSpriteSet()->AddSprite(kMarkerSize, kFirstMarkerTexture + slot,
                                               CVector(0.0f, 10.0f, 0.0f), 1.0f, 1.0f, 1.0f);
    m_markerTimeMs = ms;
}

void CCarObject::DisableControls(int ms) {
    m_disableTimeMs = ms;
    SetDisableIndicatorVisible(true);
}

bool CCarObject::SetDisableIndicatorVisible(bool visible) {
    if (m_disableIndicator && m_disableIndicator->GetMesh())
        m_disableIndicator->GetMesh()->SetVisible(visible);
    return true;
}

bool CCarObject::SetPickupIndicatorVisible(bool visible) {
    if (m_pickupIndicator && m_pickupIndicator->GetMesh())
        m_pickupIndicator->GetMesh()->SetVisible(visible);
    m_pickupIndicatorShown = visible && m_pickupIndicator;
    return true;
}

// ---- pickups ----

bool CCarObject::HasPickup() const {
    return m_pickupHelper && m_pickupHelper->AcceptsPickups();
}

bool CCarObject::HoldsPickup() const {
    return m_pickupHelper && m_pickupHelper->HoldsPickup();
}

int CCarObject::GetPickupType() const {
    return m_pickupHelper ? m_pickupHelper->GetPickupType() : -1;
}

bool CCarObject::TakesPickups() const {
    return m_driver && m_driver->AcceptsPickups() && HasPickup();
}

void CCarObject::GivePickup(int type) {
    if (!m_pickupHelper || !m_pickupHelper->Give(type))
        return;
    if (IWorldSounds* sounds = Sounds())
        sounds->PlayCarSound(kPickupGivenSound, GetDriverSlot());
}

void CCarObject::CancelPickup(bool dropHeld) {
    if (m_pickupHelper)
        m_pickupHelper->Cancel(dropHeld);
}

void CCarObject::LockPickups(int ms) {
    if (m_pickupHelper)
        m_pickupHelper->SetLock(ms);
}

int CCarObject::GetActivePickupType() const {
    return m_pickupHelper ? m_pickupHelper->GetActiveType() : -1;
}

void CCarObject::SetActionRequest(int i, bool raised) {
    if (i >= 0 && i < kActionRequests)
        m_actionRequests[static_cast<std::size_t>(i)] = raised ? 1 : 0;
}

bool CCarObject::IsActionRequested(int i) const {
    return i >= 0 && i < kActionRequests && m_actionRequests[static_cast<std::size_t>(i)] != 0;
}

bool CCarObject::WasActionPressed(int i) const {
    return i == 0 ? m_button0Pressed : i == 1 ? m_button1Pressed : false;
}

// ---- sounds ----

void CCarObject::PlayOneShotSound(const CDriverControls& /*controls*/) {
    if (!m_button0Pressed || HoldsPickup() || !m_carAsset)
        return;
    if (IWorldSounds* sounds = Sounds())
        sounds->PlayCarSound(m_carAsset->GetHornSoundId(), GetDriverSlot());
}

} // namespace zentrix
