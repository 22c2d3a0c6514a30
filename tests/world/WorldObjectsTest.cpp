// The registry's objects: the factory by object kind, the car slots, the ground under new active
// objects, and removal that leaves no pointer behind.

#include "GroundDoubles.h"
#include "WorldDoubles.h"

#include "world/ActiveWorldObject.h"
#include "world/GridCell.h"
#include "world/JamTruck.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zentrix;

namespace {

using worldtest::Log;

class WorldObjects : public worldtest::WorldFixture {
protected:
    static bool IsActive(const CWorldObject* object) {
        const auto& active = CWorldMan::GetActiveList();
        return std::find(active.begin(), active.end(), object) != active.end();
    }
    static int SlotOf(const CWorldObject* object) {
        for (int i = 0; i < CWorldMan::kCarSlots; ++i)
            if (CWorldMan::GetCar(i) == object)
                return i;
        return -1;
    }
};

TEST_F(WorldObjects, TheFactoryMakesAndFilesObjectsByTheirKind) {
    struct Case {
        int assetId;
        bool made;
        bool active;
        int slot;
    };
    const Case cases[] = {
        {31000, true, false, -1},  // format 5: a world object
        {15299, true, false, -1},  // format 5, a mesh id without a mesh: an empty one
        {15201, true, false, -1},  // format 8: a track piece
        {30001, true, true, -1},   // format 6: an active object
        {60000, true, true, 0},    // format 7: a car in the first free slot
        {60015, true, true, -1},   // format 22: the jam truck, in no car slot
        {15227, true, false, -1},  // format 18: a side-force piece
        {30002, false, false, -1}, // format 1: a kind with no class
        {40005, false, false, -1}, // format 31: no kind
        {12345, false, false, -1}, // no asset
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assetId);
        const std::size_t before = CWorldMan::GetObjectList().size();
        CWorldObject* object = CWorldMan::CreateWorldObject(c.assetId, 1, 2, 3, -1);
        ASSERT_EQ(object != nullptr, c.made);
        EXPECT_EQ(CWorldMan::GetObjectList().size(), before + (c.made ? 1 : 0));
        if (!object)
            continue;
        EXPECT_EQ(object->GetTypeId(), c.assetId);
        EXPECT_TRUE(object->IsCreated());
        EXPECT_EQ(object->Position(), CVector(1, 2, 3));
        EXPECT_EQ(object->Direction(), CVector(0, 0, 1));
        EXPECT_EQ(IsActive(object), c.active);
        EXPECT_EQ(SlotOf(object), c.slot);
    }
    EXPECT_EQ(CWorldMan::GetActiveList().size(), 3u);

    // Without a maker the world makes its own classes, the jam truck among them.
    SWorldLinks links = Links();
    links.makeObjectOfKind = nullptr;
    CWorldMan::SetLinks(links);
    EXPECT_NE(dynamic_cast<CJamTruck*>(CWorldMan::CreateWorldObject(worldtest::kStandInCar, 0, 0, 0, -1)),
              nullptr);
    CWorldObject* active = CWorldMan::CreateWorldObject(30001, 0, 0, 0, -1);
    EXPECT_NE(dynamic_cast<CActiveWorldObject*>(active), nullptr);
    EXPECT_TRUE(IsActive(active));
    EXPECT_EQ(CWorldMan::GetActiveList().size(), 5u);
    EXPECT_EQ(CWorldMan::GetCarCount(), 1);
    CWorldMan::DeleteAllObjects();
}

TEST_F(WorldObjects, CarsTakeTheLowestFreeSlotAndASixthCarNone) {
    std::vector<CWorldObject*> cars;
    for (int i = 0; i < 5; ++i)
        cars.push_back(CWorldMan::CreateWorldObject(60000, 0, 0, 0, -1));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(CWorldMan::GetCar(i), cars[static_cast<std::size_t>(i)]);
    ASSERT_TRUE(CWorldMan::RemoveObject(cars[1]));
    EXPECT_EQ(CWorldMan::GetCar(1), nullptr);
    EXPECT_EQ(CWorldMan::GetCarCount(), 4);
    CWorldObject* again = CWorldMan::CreateWorldObject(60000, 0, 0, 0, -1);
    EXPECT_EQ(CWorldMan::GetCar(1), again);
    CWorldObject* sixth = CWorldMan::CreateWorldObject(60000, 0, 0, 0, -1);
    EXPECT_EQ(SlotOf(sixth), -1);
    EXPECT_TRUE(IsActive(sixth));
    EXPECT_EQ(CWorldMan::GetCarCount(), 5);
    EXPECT_EQ(CWorldMan::GetObjectList().size(), 6u);
    EXPECT_EQ(CWorldMan::GetCar(5), nullptr);
    EXPECT_EQ(CWorldMan::GetCar(255), nullptr);
    EXPECT_EQ(CWorldMan::GetCar(-1), nullptr);
    CWorldMan::DeleteAllObjects();
    EXPECT_EQ(CWorldMan::GetCarCount(), 0);
    EXPECT_TRUE(CWorldMan::GetActiveList().empty());
}

TEST_F(WorldObjects, ActiveObjectsStandOnTheRaceGround) {
    CreateWorlds();
    CWorldTopography ground;
    ASSERT_TRUE(ground.Init(25.0f, 25.0f, 12, 12, -150.0f, -150.0f));
    const auto plate = groundtest::Plate(-140.0f, -140.0f, 140.0f, 140.0f, 5.0f);
    ASSERT_TRUE(ground.AddTriangles(plate.data(), plate.size()));
    Race()->ground = &ground;
    struct Case {
        int world, assetId;
        float y, expected;
    };
    const Case cases[] = {
        {1, 30001, 2.0f, 5.0f},  {1, 30001, 7.0f, 7.0f}, {1, 31000, 2.0f, 2.0f},
        {3, 60000, -3.0f, 5.0f}, {2, 30001, 2.0f, 2.0f}, {4, 60000, 2.0f, 2.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "world " << c.world << " asset " << c.assetId << " y " << c.y);
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(c.world));
        CWorldObject* object = CWorldMan::CreateWorldObject(c.assetId, 4, c.y, 6, -1);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->Position(), CVector(4, c.expected, 6));
    }
}

TEST_F(WorldObjects, RemovalLeavesNoPointerInListsSlotsOrGrid) {
    CreateWorlds();
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(4));
    CWorldGrid& grid = *CWorldMan::GetWorldGrid();
    auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(15201, 0, 0, 0, -1));
    ASSERT_NE(piece, nullptr);
    CWorldObject* tile = CWorldMan::CreateWorldObject(31004, 0, 0, 0, -1);
    CWorldObject* car = CWorldMan::CreateWorldObject(60000, 0, 0, 0, -1);
    CWorldObject* keeper = CWorldMan::CreateWorldObject(31003, 0, 0, 0, -1);
    // A piece anchored on (2, 3) that also covers (3, 3) and (2, 4); a tile carrying the height of (5, 5).
    grid.GetCell(2, 3)->piece = piece;
    grid.GetCell(3, 3)->owner = grid.GetCell(2, 3);
    grid.GetCell(2, 4)->owner = grid.GetCell(2, 3);
    ASSERT_TRUE(grid.SetCellHeight(tile, 5, 5, 2.0f, true));
    ASSERT_EQ(grid.GetPieceAt(3, 3), piece);

    // Several die in one frame; the next tick takes all of them.
    for (CWorldObject* dead : {static_cast<CWorldObject*>(piece), tile, car})
        dead->SetDead();
    log.clear();
    CWorldMan::FrameCurrentWorld(10);
    ASSERT_EQ(CWorldMan::GetObjectList().size(), 1u);
    EXPECT_EQ(CWorldMan::GetObjectList().front().get(), keeper);
    for (auto [x, z] : {std::pair{2u, 3u}, {3u, 3u}, {2u, 4u}}) {
        EXPECT_EQ(grid.GetPieceAt(x, z), nullptr);
        EXPECT_FALSE(grid.IsCoveredCell(x, z));
    }
    EXPECT_EQ(grid.GetCellObject(5, 5), nullptr);
    EXPECT_EQ(grid.GetCell(5, 5)->height, -1.0f);
    EXPECT_EQ(CWorldMan::GetCar(0), nullptr);
    EXPECT_TRUE(CWorldMan::GetActiveList().empty());
    // Every object that goes is reported to the spawning manager, the piece also as it leaves the grid.
    EXPECT_EQ(Without({"4 "}), (Log{"spawn remove 15201", "spawn remove 15201", "spawn remove 31004",
                                    "spawn remove 60000", "spawn update 10"}));

    // An object the world does not hold is not deleted by it.
    CWorldObject stranger(31000, -1);
    EXPECT_FALSE(CWorldMan::RemoveObject(&stranger));
    EXPECT_FALSE(CWorldMan::RemoveObject(nullptr));

    // Leaving the world clears it: objects, slots and the car count.
    CWorldMan::CreateWorldObject(60000, 0, 0, 0, -1);
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(0));
    EXPECT_TRUE(CWorldMan::GetObjectList().empty());
    EXPECT_EQ(CWorldMan::GetCarCount(), 0);
}

} // namespace
