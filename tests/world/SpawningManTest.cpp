// The spawning manager over the sample pads: which pieces it keeps, when it offers, what and where, and the
// jam truck it calls in.

#include "TrackDoubles.h"

#include "world/PickupObject.h"
#include "world/SpawningMan.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zentrix;

namespace {

class Spawning : public worldtest::TrackFixture {
protected:
    Spawning() { realSpawning = true; }
    void SetUp() override {
        worldtest::TrackFixture::SetUp();
        assets->SetWorld(0, true);
    }
    CSpawningMan& Man() { return *dynamic_cast<CSpawningMan*>(CWorldMan::GetSpawningMan()); }
    CTrackObject* Pad(int typeId, std::uint32_t x, std::uint32_t z, std::uint32_t rotation = 0,
                      bool onRoute = true) {
        CTrackObject* pad = builder.PlaceTrackPiece(typeId, x, z, rotation);
        EXPECT_NE(pad, nullptr) << typeId;
        if (pad)
            pad->SetOnRoute(onRoute);
        return pad;
    }
    static std::vector<CPickupObject*> PickupsOn(const CTrackObject* pad) {
        std::vector<CPickupObject*> out;
        for (const auto& object : CWorldMan::GetObjectList())
            if (auto* pickup = dynamic_cast<CPickupObject*>(object.get());
                pickup && pickup->GetPiece() == pad)
                out.push_back(pickup);
        return out;
    }
    int Calls() const { return static_cast<int>(std::count(log.begin(), log.end(), "1 spawn truck 2000 4")); }
    static int Trucks() {
        int count = 0;
        for (CActiveWorldObject* object : CWorldMan::GetActiveList())
            count += dynamic_cast<worldtest::TestCar*>(object) && object->GetTypeId() == 60095 ? 1 : 0;
        return count;
    }
};

TEST_F(Spawning, PadsAreKeptOnceACellAndForgottenWithTheirPiece) {
    ASSERT_NE(CWorldMan::GetSpawningMan(), nullptr);
    EXPECT_TRUE(Man().IsEnabled());
    const struct {
        int typeId, slot;
    } slots[] = {{15241, 0}, {16243, 1}, {18240, 3},  {17247, 4},  {15242, 5},
                 {16244, 6}, {17245, 7}, {15246, -1}, {15201, -1}, {1, 2}};
    for (const auto& c : slots)
        EXPECT_EQ(CSpawningMan::SlotOf(c.typeId), c.slot) << c.typeId;

    CTrackObject* pad = Pad(15241, 1, 2, 1);
    Pad(15246, 1, 3);
    Pad(15243, 6, 2, 3);
    Man().AddObject(pad);
    ASSERT_EQ(Man().GetRecords().size(), 2u);
    const auto& first = Man().GetRecords().front();
    EXPECT_EQ(first.typeId, 15241);
    EXPECT_EQ(first.slot, 0u);
    EXPECT_EQ(first.gridX, 1);
    EXPECT_EQ(first.gridZ, 2);
    EXPECT_EQ(first.rotation, 1u);
    EXPECT_EQ(first.elapsed, 3000u);
    EXPECT_EQ(first.piece, pad);
    // A pad placed over the first takes its record's place.
    Pad(15241, 1, 2, 2);
    ASSERT_EQ(Man().GetRecords().size(), 2u);
    EXPECT_EQ(Man().GetRecords().back().rotation, 2u);
    builder.RemoveTrackPiece(6, 2);
    ASSERT_EQ(Man().GetRecords().size(), 1u);
    EXPECT_EQ(Man().GetRecords().front().typeId, 15241);
    // The track going takes the pads and marks the pickups dead.
    CWorldMan::GetSpawningMan()->Update(1);
    ASSERT_EQ(PickupsOn(Man().GetRecords().front().piece).size(), 1u);
    Man().RemoveAllPickups();
    EXPECT_TRUE(Man().GetRecords().empty());
    for (const auto& object : CWorldMan::GetObjectList())
        EXPECT_EQ(dynamic_cast<CPickupObject*>(object.get()) != nullptr, object->IsDead());
}

TEST_F(Spawning, APadOffersAtOnceThenWhenMoreThanItsPeriodHasPassed) {
    CTrackObject* pad = Pad(15241, 1, 2);
    // Each step: ms, whether the race is paused, and the pickups made on the pad so far.
    const struct {
        unsigned ms;
        bool paused;
        std::size_t made;
    } steps[] = {{0, false, 0},   {1, false, 1},    {2999, false, 1}, {1, false, 1}, {1, false, 2},
                 {5000, true, 2}, {2000, false, 2}, {1000, false, 2}, {1, false, 3}, {3001, false, 4}};
    std::size_t made = 0;
    std::vector<CPickupObject*> seen;
    for (const auto& step : steps) {
        Race()->paused = step.paused;
        CWorldMan::GetSpawningMan()->Update(step.ms);
        for (CPickupObject* pickup : PickupsOn(pad))
            if (std::find(seen.begin(), seen.end(), pickup) == seen.end()) {
                seen.push_back(pickup);
                ++made;
            }
        EXPECT_EQ(made, step.made) << step.ms << (step.paused ? " paused" : "");
    }
    // Every offer floats for 3000 ms, typed as its slot says.
    for (CPickupObject* pickup : seen) {
        EXPECT_EQ(pickup->GetLifeTime(), 3000);
        EXPECT_EQ(pickup->GetTypeId(), 12048);
        EXPECT_EQ(pickup->GetType(), 1);
        EXPECT_TRUE(pickup->IsAnimPlaying());
    }
}

TEST_F(Spawning, OffersStandBesideTheCellTurnedWithThePad) {
    // Rotation, and the pickup's offset from the cell's point.
    const CVector offsets[] = {{8, 0, 0}, {0, 0, -8}, {-8, 0, 0}, {0, 0, 8}};
    for (std::uint32_t r = 0; r < 4; ++r) {
        CTrackObject* pad = Pad(15240, 1 + r, 2, r);
        CWorldMan::GetSpawningMan()->Update(1);
        const auto pickups = PickupsOn(pad);
        ASSERT_EQ(pickups.size(), 1u) << r;
        const CVector at = pickups[0]->Position();
        EXPECT_NEAR(at.x, CWorldGrid::IndexToWorldX(1 + r) + offsets[r].x, 1e-4f) << r;
        EXPECT_NEAR(at.y, pad->Position().y + 0.5f, 1e-4f) << r;
        EXPECT_NEAR(at.z, CWorldGrid::IndexToWorldZ(2) + offsets[r].z, 1e-4f) << r;
        EXPECT_EQ(pickups[0]->Direction(), CVector(1.0f, 0.0f, 0.0f));
        EXPECT_EQ(pickups[0]->GetType(), 9);
    }
}

TEST_F(Spawning, WhatEachSlotOffersAndWhereNothingIsOffered) {
    // Slot, theme, pickup asset and type; the truck slot and unknown themes offer no pickup.
    const struct {
        int slot, theme, assetId, type;
        bool offered;
    } offers[] = {{0, 0, 12048, 1, true},  {1, 2, 12028, 0, true}, {2, 0, 12088, 5, true},
                  {3, 0, 12038, 9, true},  {4, 3, 12018, 6, true}, {5, 1, 12098, 7, true},
                  {6, 0, 12078, 10, true}, {6, 1, 12008, 4, true}, {6, 2, 12058, 2, true},
                  {6, 3, 12068, 3, true},  {6, 4, -1, -1, false},  {7, 0, -1, -1, false},
                  {8, 0, -1, -1, false},   {-1, 0, -1, -1, false}};
    for (const auto& c : offers) {
        int assetId = -1, type = -1;
        EXPECT_EQ(CSpawningMan::GetOffer(c.slot, c.theme, assetId, type), c.offered) << c.slot << c.theme;
        EXPECT_EQ(assetId, c.assetId) << c.slot << " " << c.theme;
        EXPECT_EQ(type, c.type) << c.slot << " " << c.theme;
    }
    // The jungle's theme pad offers its own drop.
    CTrackObject* themed = Pad(15244, 1, 2);
    CTrackObject* offRoute = Pad(15242, 1, 4, 0, false);
    CWorldMan::GetSpawningMan()->Update(1);
    ASSERT_EQ(PickupsOn(themed).size(), 1u);
    EXPECT_EQ(PickupsOn(themed)[0]->GetTypeId(), 12078);
    EXPECT_EQ(PickupsOn(themed)[0]->GetType(), 10);
    EXPECT_TRUE(PickupsOn(offRoute).empty());
    // Nothing in the editor's state.
    services.gameState = 3;
    CWorldMan::GetSpawningMan()->Update(3001);
    EXPECT_EQ(PickupsOn(themed).size(), 1u);
}

TEST_F(Spawning, OneJamTruckWhateverTheNumberOfTruckPads) {
    Pad(15245, 6, 4);
    Pad(15245, 1, 4, 2);
    // Outside the race world no truck is called.
    CWorldMan::GetSpawningMan()->Update(1);
    EXPECT_EQ(Trucks(), 0);
    // The race world keeps the grid; the pads are put back since the switch cleared the world.
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
    ASSERT_TRUE(CWorldMan::GetWorldGrid());
    CTrackObject* pad = Pad(15245, 6, 4);
    Pad(15245, 1, 4, 2);
    CWorldMan::GetSpawningMan()->Update(1);
    EXPECT_EQ(Trucks(), 1);
    EXPECT_EQ(Calls(), 1);
    // Beside the first pad, looking along its direction.
    worldtest::TestCar* truck = nullptr;
    for (CActiveWorldObject* object : CWorldMan::GetActiveList())
        truck = truck ? truck : dynamic_cast<worldtest::TestCar*>(object);
    ASSERT_NE(truck, nullptr);
    EXPECT_NEAR(truck->Position().x, 32.0f * 6 - 100 + 16, 1e-3f);
    EXPECT_NEAR(truck->Position().z, 32.0f * 4 - 100 - 24, 1e-3f);
    EXPECT_NEAR(truck->Direction().z, -1.0f, 1e-4f);
    EXPECT_EQ(Man().GetRecords().front().spawned, truck);
    EXPECT_EQ(Man().GetRecords().front().piece, pad);
    CWorldMan::GetSpawningMan()->Update(3001);
    EXPECT_EQ(Trucks(), 1);
    EXPECT_EQ(Calls(), 1);
    // Once it is gone, the next period calls a new one.
    CWorldMan::RemoveObject(truck);
    EXPECT_EQ(Man().GetRecords().front().spawned, nullptr);
    CWorldMan::GetSpawningMan()->Update(3001);
    EXPECT_EQ(Trucks(), 1);
    EXPECT_EQ(Calls(), 2);
    // A truck that nobody drives ends the call as one from another slot does; a refused truck is none.
    for (CActiveWorldObject* object : CWorldMan::GetActiveList())
        if (auto* other = dynamic_cast<worldtest::TestCar*>(object))
            truck = other;
    CWorldMan::RemoveObject(truck);
    auto* driverless = dynamic_cast<worldtest::TestCar*>(CWorldMan::CreateWorldObject(60095, 0, 0, 0, -1));
    ASSERT_NE(driverless, nullptr);
    driverless->slot = -1;
    CWorldMan::GetSpawningMan()->Update(3001);
    EXPECT_EQ(Calls(), 2);
    CWorldMan::RemoveObject(driverless);
    // Refused, each pad asks again.
    Race()->refuseTruck = true;
    CWorldMan::GetSpawningMan()->Update(3001);
    EXPECT_EQ(Calls(), 4);
    EXPECT_EQ(Trucks(), 0);
    // No truck while the race is not running.
    Race()->refuseTruck = false;
    Race()->active = false;
    CWorldMan::GetSpawningMan()->Update(3001);
    EXPECT_EQ(Calls(), 4);
}

} // namespace
