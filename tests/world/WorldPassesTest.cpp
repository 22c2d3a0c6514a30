// The world's tick passes: pieces on and next to an active object's cell, pairs of active objects,
// paused objects, objects without volumes, and objects made while a pass runs.

#include "WorldDoubles.h"

#include "support/VectorExpect.h"
#include "world/ActiveWorldObject.h"
#include "world/BoundingSphere.h"
#include "world/CollisionRecorder.h"
#include "world/GridCell.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace zentrix;

namespace {

constexpr int kCrate = 30030; // a box 4 x 2 x 3 over its position
constexpr int kPiece = 15280; // a track piece with a sphere of 1.5 and a box round its position
constexpr int kNoVolumes = 30034;

/// A crate that notes the collisions it hears ("<name> <kind> <x> <z>") and, once, makes an object of
/// asset `spawn` during its tick.
class NotingCrate : public CActiveWorldObject {
public:
    NotingCrate(std::string name, worldtest::Log& log)
        : CActiveWorldObject(kCrate, -1), m_name(std::move(name)), m_log(log) {}
    void OnCollision(const CVector& v, int kind, CWorldObject* other) override {
        m_log.push_back(m_name + " " + std::to_string(kind) + " " + std::to_string(static_cast<int>(v.x)) +
                        " " + std::to_string(static_cast<int>(v.z)));
        CActiveWorldObject::OnCollision(v, kind, other);
    }
    void Update(unsigned ms) override {
        CActiveWorldObject::Update(ms);
        if (spawn > 0)
            spawned = CWorldMan::CreateWorldObject(std::exchange(spawn, 0), 50, 0, 50, -1);
    }
    int spawn = 0;
    CWorldObject* spawned = nullptr;

private:
    std::string m_name;
    worldtest::Log& m_log;
};

class WorldPasses : public worldtest::WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        CreateWorlds();
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kMainScreen));
        // Asking for a jam truck makes a noting crate, named by the order of asking.
        SWorldLinks links = Links();
        links.makeObjectOfKind = [this](int kind, int, int) -> std::unique_ptr<CWorldObject> {
            if (kind != CWorldMan::kKindJamTruck)
                return nullptr;
            return std::make_unique<NotingCrate>(std::string(1, static_cast<char>('A' + named++)), notes);
        };
        CWorldMan::SetLinks(links);
    }
    NotingCrate* Noting(CVector at) {
        return static_cast<NotingCrate*>(CWorldMan::CreateWorldObject(60015, at.x, at.y, at.z, -1));
    }
    static CActiveWorldObject* Crate(CVector at) {
        return dynamic_cast<CActiveWorldObject*>(CWorldMan::CreateWorldObject(kCrate, at.x, at.y, at.z, -1));
    }
    /// A piece anchored on cell (x, z), standing at `at`.
    static CWorldObject* Piece(std::uint32_t x, std::uint32_t z, CVector at) {
        auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(kPiece, at.x, at.y, at.z, -1));
        CWorldMan::GetWorldGrid()->GetCell(x, z)->piece = piece;
        return piece;
    }
    /// The kinds and others of an object's contacts of this tick.
    static std::vector<std::pair<int, CWorldObject*>> Contacts(const CWorldObject* object) {
        std::vector<std::pair<int, CWorldObject*>> out;
        const CCollisionRecorder& recorder = *object->GetCollisionRecorder();
        for (std::uint32_t i = 0; i < recorder.GetCurrentCount(); ++i) {
            SContactEntry entry;
            recorder.GetCurrentContact(i, entry);
            out.emplace_back(entry.kind, entry.other);
        }
        return out;
    }
    using Contacts_t = std::vector<std::pair<int, CWorldObject*>>;

    int named = 0;
    worldtest::Log notes;
};

TEST_F(WorldPasses, PairsOfActiveObjectsHearKindFiveEarlierFirst) {
    NotingCrate* a = Noting({0, 0, 0});
    NotingCrate* b = Noting({3, 0, 0});
    NotingCrate* c = Noting({0, 0, -2});
    Noting({30, 0, 0}); // meets nobody
    CWorldMan::CollideObjects(40);
    EXPECT_EQ(notes, (worldtest::Log{"A 5 -3 0", "B 5 3 0", "A 5 0 2", "C 5 0 -2", "B 5 3 2", "C 5 -3 -2"}));
    EXPECT_EQ(Contacts(a), (Contacts_t{{5, b}, {5, c}}));
    SContactEntry entry;
    ASSERT_TRUE(b->GetCollisionRecorder()->GetCurrentContact(0, entry));
    EXPECT_EQ(entry.vector, CVector(1, 0, 0));
    EXPECT_TRUE(CWorldMan::IsTouchingActiveObject(*a));

    // A paused object meets nothing, but a volume still finds it.
    notes.clear();
    b->SetCollisionPause(1000);
    CWorldMan::CollideObjects(40);
    EXPECT_EQ(notes, (worldtest::Log{"A 5 0 2", "C 5 0 -2"}));
    CBoundingSphere probe;
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kSphere;
    desc.centre = CVector(5, 1, 0); // reaches a corner of b's box only
    desc.sizes = {2.5f, 0, 0};
    ASSERT_TRUE(probe.Create(desc));
    std::vector<CWorldObject*> found{a};
    CWorldMan::GetActiveObjectsIn(nullptr, probe, found);
    EXPECT_EQ(found, (std::vector<CWorldObject*>{b}));
    CWorldMan::GetActiveObjectsIn(b, probe, found);
    EXPECT_TRUE(found.empty());
}

TEST_F(WorldPasses, AnObjectWithoutVolumesNeverCollides) {
    CActiveWorldObject* crate = Crate({-4, 0, -4});
    CWorldObject* bare = CWorldMan::CreateWorldObject(kNoVolumes, -4, 0, -4, -1);
    ASSERT_TRUE(bare->GetBoundingVolumes().empty());
    CWorldObject* under = Piece(3, 3, {-4, -1, -4}); // an active object records no zero contact
    CWorldMan::CollideObjects(40);
    EXPECT_TRUE(Contacts(bare).empty());
    EXPECT_EQ(Contacts(crate), (Contacts_t{{2, under}}));
    EXPECT_EQ(Contacts(under), (Contacts_t{{5, crate}}));
}

TEST_F(WorldPasses, PiecesNextToTheCellAreMetThroughProbesInTheirOrder) {
    // Cell i has its centre at 32 i - 100; the crate stands in cell (3, 3), 12 from its centre on x.
    struct Case {
        const char* what;
        CVector crate;
        bool underMeets;
        std::vector<std::uint32_t> neighbours; // cells (x, z) with a piece that meets the crate
        int hit;                               // which one the crate hears: -1 under, else index, -2 none
    };
    const Case cases[] = {
        {"the piece under it first", {8, 0, -4}, true, {4, 3}, -1},
        {"a neighbour through a probe", {8, 0, -4}, false, {4, 3}, 0},
        {"+z is probed before +x", {8, 0, -4}, false, {4, 3, 3, 4}, 1},
        {"a diagonal", {8, 0, 8}, false, {4, 4}, 0},
        {"off the grid, a probe reaches back in", {-120, 0, -4}, false, {0, 3}, 0},
        {"nothing meets", {8, 0, -4}, false, {}, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CActiveWorldObject* crate = Crate(c.crate);
        CWorldObject* under = Piece(3, 3, c.underMeets ? c.crate - CVector(0, 1, 0) : CVector(-4, 40, -4));
        std::vector<CWorldObject*> pieces;
        for (std::size_t i = 0; i + 1 < c.neighbours.size(); i += 2)
            pieces.push_back(Piece(c.neighbours[i], c.neighbours[i + 1], c.crate + CVector(0, 1, 0)));
        CWorldMan::CollideActiveWithPieces();
        CWorldObject* expected = c.hit == -1  ? under
                                 : c.hit >= 0 ? pieces[static_cast<std::size_t>(c.hit)]
                                              : nullptr;
        EXPECT_EQ(Contacts(crate), expected ? (Contacts_t{{2, expected}}) : Contacts_t{});
        for (CWorldObject* piece : pieces)
            EXPECT_EQ(Contacts(piece).size(), piece == expected ? 1u : 0u);
        CWorldMan::ClearWorld();
    }
}

TEST_F(WorldPasses, AnObjectMadeDuringTheUpdatePassIsUpdatedAndSteppedInTheSameTick) {
    NotingCrate* maker = Noting({0, 0, 0});
    maker->spawn = kCrate;
    CWorldMan::UpdateObjects(40);
    auto* made = dynamic_cast<CActiveWorldObject*>(maker->spawned);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(CWorldMan::GetObjectList().back().get(), made);
    EXPECT_EQ(made->GetSavedPosition(), CVector(50, 0, 50)); // its own Update saved its pose
    CWorldMan::SimulateActiveObjects(40);
    CWorldMan::CollideObjects(40);
    CWorldMan::FinishActiveObjects(40);
    EXPECT_TRUE(VectorNear(made->Position(), CVector(50, 0, 50), 1e-4f));
    EXPECT_EQ(made->GetCollisionRecorder()->GetCollisionFrequency(), 0.0f);
}

} // namespace
