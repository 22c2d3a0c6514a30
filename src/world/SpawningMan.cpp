#include "world/SpawningMan.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/base/GameStates.h"
#include "foundation/math/Rotation.h"
#include "world/ActiveWorldObject.h"
#include "world/CarLink.h"
#include "world/PickupObject.h"
#include "world/RaceWorldLink.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <numbers>

namespace zentrix {

namespace {

/// The pads by theme row (jungle, ice, desert, city) and slot; no piece has type id 1.
constexpr int kPads[4][CSpawningMan::kSlotCount] = {
    {15241, 15243, 1, 15240, 15247, 15242, 15244, 15245},
    {16241, 16243, 1, 16240, 16247, 16242, 16244, 16245},
    {18241, 18243, 1, 18240, 18247, 18242, 18244, 18245},
    {17241, 17243, 1, 17240, 17247, 17242, 17244, 17245},
};

/// What each slot offers: pickup asset and type (the theme slot and the truck slot have their own).
struct SOffer {
    int assetId;
    int pickupType;
};
constexpr SOffer kOffers[CSpawningMan::kSlotCount] = {{12048, 1}, {12028, 0}, {12088, 5}, {12038, 9},
                                                      {12018, 6}, {12098, 7}, {-1, -1},   {-1, -1}};
/// The theme slot's drop by theme.
constexpr SOffer kThemeOffers[4] = {{12078, 10}, {12008, 4}, {12058, 2}, {12068, 3}};

const CVector kUp(0.0f, 1.0f, 0.0f);

CVector Turned(const CVector& v, std::uint32_t rotation) {
    CVector out;
    RotateVectorAboutAxis(v, out, kUp, static_cast<float>(rotation) * std::numbers::pi_v<float> * 0.5f);
    return out;
}

IRaceWorldLink* Race() {
    return CWorldMan::GetRaceWorld();
}

} // namespace

int CSpawningMan::SlotOf(int typeId) {
    int slot = -1;
    for (const auto& row : kPads)
        for (int column = 0; column < kSlotCount; ++column)
            if (row[column] == typeId)
                slot = column;
    return slot;
}

bool CSpawningMan::GetOffer(int slot, int theme, int& assetId, int& pickupType) {
    if (slot < 0 || slot >= kSlotCount || slot == kTruckSlot)
        return false;
    if (slot == kThemeSlot) {
        if (theme < 0 || theme > 3)
            return false;
        assetId = kThemeOffers[theme].assetId;
        pickupType = kThemeOffers[theme].pickupType;
        return true;
    }
    assetId = kOffers[slot].assetId;
    pickupType = kOffers[slot].pickupType;
    return true;
}

void CSpawningMan::AddObject(CWorldObject* object) {
    auto* piece = dynamic_cast<CTrackObject*>(object);
    if (!piece)
        return;
    const int slot = SlotOf(piece->GetTypeId());
    if (slot < 0)
        return;
    SSpawnRecord record;
    record.typeId = piece->GetTypeId();
    record.slot = static_cast<std::uint32_t>(slot);
    record.rotation = static_cast<std::uint32_t>(std::max(piece->GetRotation(), 0));
    record.gridX = static_cast<std::int32_t>(CWorldGrid::WorldXToIndex(piece->Position().x));
    record.gridZ = static_cast<std::int32_t>(CWorldGrid::WorldZToIndex(piece->Position().z));
    // Due at the first update.
    record.elapsed = kPeriodMs;
    record.piece = piece;
    for (const SSpawnRecord& kept : m_records)
        if (kept.typeId == record.typeId && kept.gridX == record.gridX && kept.gridZ == record.gridZ)
            return;
    m_records.push_back(record);
}

void CSpawningMan::RemoveObject(CWorldObject* object) {
    if (!object)
        return;
    for (SSpawnRecord& record : m_records)
        if (record.spawned == object)
            record.spawned = nullptr;
    if (auto* piece = dynamic_cast<CTrackObject*>(object)) {
        const auto gridX = static_cast<std::int32_t>(CWorldGrid::WorldXToIndex(piece->Position().x));
        const auto gridZ = static_cast<std::int32_t>(CWorldGrid::WorldZToIndex(piece->Position().z));
        for (auto it = m_records.begin(); it != m_records.end(); ++it)
            if (it->typeId == piece->GetTypeId() && it->gridX == gridX && it->gridZ == gridZ) {
                m_records.erase(it);
                break;
            }
    }
    // A record left behind (its piece moved off the cell it was recorded on) must not keep the
    // deleted piece.
    for (SSpawnRecord& record : m_records)
        if (record.piece == object)
            record.piece = nullptr;
}

void CSpawningMan::RemoveAllPickups() {
    m_records.clear();
    for (const auto& object : CWorldMan::GetObjectList())
        if (dynamic_cast<CPickupObject*>(object.get()))
            object->SetDead();
}

void CSpawningMan::Update(unsigned ms) {
    if (const IRaceWorldLink* race = Race(); race && race->IsPaused())
        return;
    for (SSpawnRecord& record : m_records)
        record.elapsed += ms;
    // Offering adds no pad and removes none, so the walk is safe.
    for (SSpawnRecord& record : m_records)
        if (record.elapsed > kPeriodMs) {
            const SSpawnRecord copy = record;
            record.elapsed = 0;
            Respawn(copy);
        }
}

void CSpawningMan::Respawn(const SSpawnRecord& record) {
    if (!record.piece || !record.piece->IsOnRoute())
        return;
    IWorldServices* services = CWorldMan::GetServices();
    // Pads in the editor stay empty.
    if (services && services->GetGameState() == GAMESTATE_CONSTRUCT)
        return;
    if (record.slot == kTruckSlot) {
        CreateJamTruck(record);
        return;
    }
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    int assetId = -1;
    int pickupType = -1;
    if (GetOffer(static_cast<int>(record.slot), assets ? assets->GetWorld() : 0, assetId, pickupType))
        CreatePickup(record, assetId, pickupType);
}

void CSpawningMan::CreatePickup(const SSpawnRecord& record, int assetId, int pickupType) {
    const CVector corner(CWorldGrid::IndexToWorldX(static_cast<std::uint32_t>(record.gridX)),
                         record.piece->Position().y + 0.5f,
                         CWorldGrid::IndexToWorldZ(static_cast<std::uint32_t>(record.gridZ)));
    const CVector at = corner + Turned(CVector(8.0f, 0.0f, 0.0f), record.rotation);
    CWorldObject* object = CWorldMan::CreateWorldObject(assetId, at.x, at.y, at.z, kPickupLifeMs);
    if (!object)
        return;
    object->SetPositionVector(at);
    object->SetDirectionVector(CVector(1.0f, 0.0f, 0.0f));
    object->SetAnimPlaying(true);
    // An asset of another kind stands there as it is, but no car takes it.
    if (auto* pickup = dynamic_cast<CPickupObject*>(object)) {
        pickup->SetPiece(record.piece);
        pickup->SetType(pickupType);
    }
}

void CSpawningMan::CreateJamTruck(const SSpawnRecord& record) {
    IRaceWorldLink* race = Race();
    if (CWorldMan::GetCurrentWorldId() != CWorldMan::kRace || !race || !race->IsRaceActive() ||
        record.spawned)
        return;
    // At most one jam truck: one driven from a slot that is no truck's (or by nobody) ends the call too.
    int trucks = 0;
    for (CActiveWorldObject* object : CWorldMan::GetActiveList()) {
        const auto* car = dynamic_cast<const ICarLink*>(object);
        if (!car || !car->IsJamTruck())
            continue;
        const int slot = car->GetDriverSlot();
        if (slot > kHighestTruckSlot || slot < kLowestTruckSlot)
            return;
        ++trucks;
    }
    if (trucks > 0)
        return;
    CWorldObject* truck = race->SpawnJamTruck(kTruckDelayMs, kTruckDriverSlot);
    if (!truck)
        return;
    const CVector corner(32.0f * static_cast<float>(record.gridX) - 100.0f, 0.0f,
                         32.0f * static_cast<float>(record.gridZ) - 100.0f);
    truck->SetPositionVector(corner + Turned(CVector(16.0f, 0.0f, -24.0f), record.rotation));
    const CVector direction = Turned(CVector(0.0f, 0.0f, -1.0f), record.rotation);
    if (auto* active = dynamic_cast<CActiveWorldObject*>(truck))
        active->Redirect(direction);
    else
        truck->SetDirectionVector(direction);
    for (SSpawnRecord& kept : m_records)
        if (kept.gridX == record.gridX && kept.gridZ == record.gridZ) {
            kept.spawned = truck;
            break;
        }
}

} // namespace zentrix
