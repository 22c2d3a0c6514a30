// The collision recorder: what a tick keeps, how long a contact lasts from tick to tick, and how often
// the last twenty ticks had one.

#include "world/CollisionRecorder.h"
#include "world/WorldObject.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

class CollisionRecorder : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(recorder.Init()); }

    /// The persistence of the first kept contact of the kind in the tick before.
    std::uint32_t Persistence(std::int32_t kind) {
        SContactEntry entry;
        std::uint32_t persistence = 99;
        EXPECT_TRUE(recorder.FindContact(kind, entry, persistence));
        return persistence;
    }

    CCollisionRecorder recorder;
};

TEST_F(CollisionRecorder, SixContactsInATickCountSixKeepFiveAndSearchFour) {
    for (std::int32_t kind = 1; kind <= 6; ++kind)
        recorder.Record(CVector(1, 0, 0), 0.5f, kind, nullptr);
    EXPECT_EQ(recorder.GetCurrentCount(), 6u);
    SContactEntry entry;
    EXPECT_TRUE(recorder.GetCurrentContact(4, entry));
    EXPECT_EQ(entry.kind, 5);
    EXPECT_FALSE(recorder.GetCurrentContact(5, entry));
    EXPECT_TRUE(recorder.FindCurrentContact(4, entry));
    EXPECT_FALSE(recorder.FindCurrentContact(5, entry)); // kept, never searched
    EXPECT_FALSE(recorder.FindCurrentContact(6, entry)); // not kept

    recorder.NewFrame();
    EXPECT_EQ(recorder.GetCurrentCount(), 0u);
    EXPECT_EQ(recorder.GetPreviousCount(), 6u);
    EXPECT_EQ(recorder.CountPreviousContacts(4), 1u);
    EXPECT_EQ(recorder.CountPreviousContacts(5), 0u);
    CCollisionLog::TIndexList indices{};
    std::uint32_t n = 9;
    recorder.FindAllPreviousContacts(5, indices, n);
    EXPECT_EQ(n, 0u);
    std::uint32_t max = 9;
    EXPECT_FALSE(recorder.GetMaxPersistence(5, max));
    EXPECT_EQ(max, 0u);
}

TEST_F(CollisionRecorder, AContactLastsWhileItsVectorMovesLessThanATenth) {
    struct Case {
        const char* what;
        CVector second;
        std::int32_t kind;
        bool sameOther;
        std::uint32_t persistence;
    };
    CWorldObject wall(31000, -1);
    CWorldObject post(31001, -1);
    const Case cases[] = {
        {"the same", {0.5f, 0, 0.5f}, 1, true, 1},
        {"0.09 along x", {0.59f, 0, 0.5f}, 1, true, 1},
        {"0.05 on two axes", {0.55f, 0.05f, 0.5f}, 1, true, 0},
        {"0.1 along x", {0.6f, 0, 0.5f}, 1, true, 0},
        {"another kind", {0.5f, 0, 0.5f}, 2, true, 0},
        {"another object", {0.5f, 0, 0.5f}, 1, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(recorder.Init());
        recorder.Record(CVector(0.5f, 0, 0.5f), 0, 1, &wall);
        recorder.NewFrame();
        recorder.Record(c.second, 0, c.kind, c.sameOther ? &wall : &post);
        recorder.NewFrame();
        EXPECT_EQ(Persistence(c.kind), c.persistence);
    }
}

TEST_F(CollisionRecorder, FiveTicksAtTheSameWallLastFour) {
    CWorldObject wall(31000, -1);
    for (std::uint32_t tick = 0; tick < 5; ++tick) {
        recorder.NewFrame();
        recorder.Record(CVector(0, 0, 1), 0.25f, 1, &wall);
    }
    recorder.NewFrame();
    EXPECT_EQ(Persistence(1), 4u);
    std::uint32_t max = 0;
    EXPECT_TRUE(recorder.GetMaxPersistence(1, max));
    EXPECT_EQ(max, 4u);
    // A tick without it: gone, and a new touch starts from 0.
    recorder.NewFrame();
    recorder.Record(CVector(0, 0, 1), 0.25f, 1, &wall);
    recorder.NewFrame();
    EXPECT_EQ(Persistence(1), 0u);
}

TEST_F(CollisionRecorder, ADeadOtherIsKeptAsNoneAndMatchesNoLiveEntry) {
    CWorldObject post(31001, -1);
    recorder.Record(CVector(1, 0, 0), 0, 5, &post);
    recorder.NewFrame();
    post.SetDead();
    recorder.Record(CVector(1, 0, 0), 0, 5, &post);
    SContactEntry entry;
    ASSERT_TRUE(recorder.GetCurrentContact(0, entry));
    EXPECT_EQ(entry.other, nullptr);
    recorder.NewFrame();
    EXPECT_EQ(Persistence(5), 0u);

    // An object that leaves the world is forgotten by both ticks' entries.
    CWorldObject wall(31000, -1);
    recorder.Record(CVector(0, 0, 1), 0, 1, &wall);
    recorder.NewFrame();
    recorder.Record(CVector(0, 0, 1), 0, 1, &wall);
    recorder.ForgetObject(&wall);
    ASSERT_TRUE(recorder.GetCurrentContact(0, entry));
    EXPECT_EQ(entry.other, nullptr);
    std::uint32_t persistence = 0;
    ASSERT_TRUE(recorder.FindContact(1, entry, persistence));
    EXPECT_EQ(entry.other, nullptr);
}

TEST_F(CollisionRecorder, FrequencyIsTheShareOfTheLastTwentyTicksWithAContact) {
    recorder.NewFrame();
    EXPECT_EQ(recorder.GetCollisionFrequency(), 0.0f); // off until switched on
    recorder.EnableFrequencyLog(true);
    for (int tick = 0; tick < 20; ++tick) {
        if (tick % 5 == 4)
            recorder.Record(CVector(1, 0, 0), 0, 1, nullptr);
        recorder.NewFrame();
    }
    EXPECT_FLOAT_EQ(recorder.GetCollisionFrequency(), 0.2f);
    // Twenty more quiet ticks push every contact out of the ring.
    for (int tick = 0; tick < 20; ++tick)
        recorder.NewFrame();
    EXPECT_EQ(recorder.GetCollisionFrequency(), 0.0f);
    recorder.Record(CVector(1, 0, 0), 0, 1, nullptr);
    recorder.NewFrame();
    recorder.ClearFrequencyLog();
    EXPECT_EQ(recorder.GetCollisionFrequency(), 0.0f);

    // A ring that was never started records nothing and never runs past its end.
    CCollisionFrequencyLog ring;
    for (int i = 0; i < 40; ++i)
        ring.Record(1);
    EXPECT_EQ(ring.GetCursor(), 0u);
    EXPECT_EQ(ring.GetFrequency(), 0.0f);
}

TEST_F(CollisionRecorder, TheResponseDirectionIsNoneWhileZero) {
    CVector direction(5, 5, 5);
    EXPECT_FALSE(recorder.GetResponseDirection(direction));
    EXPECT_EQ(direction, CVector());
    recorder.SetResponseDirection(CVector(0, 0, -1));
    EXPECT_TRUE(recorder.GetResponseDirection(direction));
    EXPECT_EQ(direction, CVector(0, 0, -1));
}

} // namespace
