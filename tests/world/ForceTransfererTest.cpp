// Force transfer between active objects that touched in the tick before: who becomes a partner, how
// long it stays, and what reaches the pushed object.

#include "WorldDoubles.h"

#include "support/VectorExpect.h"
#include "world/ActiveWorldObject.h"
#include "world/CollisionRecorder.h"
#include "world/ContactPoint.h"
#include "world/ForceTransferer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zentrix;

namespace {

class ForceTransfer : public worldtest::WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        owner = Crate({0, 0, 0});
    }
    void TearDown() override {
        CWorldMan::DeleteAllObjects();
        WorldFixture::TearDown();
    }
    static CActiveWorldObject* Crate(CVector at) {
        return dynamic_cast<CActiveWorldObject*>(CWorldMan::CreateWorldObject(30030, at.x, at.y, at.z, -1));
    }
    /// One tick as the owner sees it: the pushers met it in the tick before, then its step begins.
    void Tick(const std::vector<CActiveWorldObject*>& pushers) {
        for (CActiveWorldObject* pusher : pushers)
            owner->GetCollisionRecorder()->Record(CVector(1, 0, 0), 0, 5, pusher);
        owner->GetCollisionRecorder()->NewFrame();
        owner->GetForceTransferer()->Update();
    }
    /// Every point of the owner holds `force` gathered this step.
    void Gather(CVector force) {
        for (std::uint32_t i = 0; i < owner->GetContactCount(); ++i)
            owner->GetContact(i)->SetForce(force);
    }
    CForceTransferer& Transferer() { return *owner->GetForceTransferer(); }

    CActiveWorldObject* owner = nullptr;
};

TEST_F(ForceTransfer, PartnersMustBeCloserThanTheRootOf120AndEachTestIsTraced) {
    struct Case {
        CVector at;
        bool inRange;
        const char* separation;
    };
    const Case cases[] = {
        {{2, 4, 10}, false, "120.0000"}, // 4 + 16 + 100
        {{0, 0, std::sqrt(119.99f)}, true, "119.9900"},
        {{-10, 0, 0}, true, "100.0000"},
    };
    services.recordTraces = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at);
        CActiveWorldObject* pusher = Crate(c.at);
        services.traces.clear();
        EXPECT_EQ(Transferer().IsInRange(*pusher), c.inRange);
        EXPECT_EQ(services.traces,
                  (worldtest::Log{std::string("1 Separation Sqd. Distance: ") + c.separation,
                                  c.inRange ? "2 Transfer required." : "2 Transfer NOT required."}));
        Tick({pusher});
        EXPECT_EQ(Transferer().HasPartner(pusher), c.inRange);
        // A dead object is out of range before anything is measured.
        pusher->SetDead();
        services.traces.clear();
        EXPECT_FALSE(Transferer().IsInRange(*pusher));
        EXPECT_TRUE(services.traces.empty());
        CWorldMan::RemoveObject(pusher);
        EXPECT_EQ(Transferer().CountPartners(), 0);
    }
}

TEST_F(ForceTransfer, ThePushedObjectKeepsThreeQuartersAndGetsThePushersHorizontalForce) {
    struct Case {
        const char* what;
        CVector pusherForce;
        CVector expected;
    };
    const Case cases[] = {
        {"a horizontal push", {0.4f, -0.16f, 0.2f}, {1.0f + 0.4f, 0, 0.2f}},
        {"a purely vertical one still damps", {0, -0.5f, 0}, {1.0f, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CActiveWorldObject* pusher = Crate({5, 0, 0});
        pusher->ApplyForce(CForce(c.pusherForce, CForce::kExternal)); // its last force on every point
        Gather(CVector(4.0f / 3.0f, 0, 0));
        Tick({pusher});
        for (std::uint32_t i = 0; i < owner->GetContactCount(); ++i)
            EXPECT_TRUE(VectorNear(owner->GetContact(i)->GetForce(), c.expected)) << i;
        // The owner's own last forces are not touched by the transfer.
        EXPECT_EQ(owner->GetContact(0)->GetLastForce(), CVector());
        CWorldMan::RemoveObject(pusher);
    }
}

TEST_F(ForceTransfer, FivePartnersAtMostEachOnce) {
    std::vector<CActiveWorldObject*> pushers;
    for (int i = 0; i < 6; ++i)
        pushers.push_back(Crate({static_cast<float>(i) - 3.0f, 0, 5}));
    Tick({pushers[0], pushers[1]});
    EXPECT_EQ(Transferer().CountPartners(), 2);
    Tick({pushers[0]});
    Tick({pushers[0], pushers[0]});
    EXPECT_EQ(Transferer().CountPartners(), 2);
    Tick({pushers[2], pushers[3], pushers[4]});
    EXPECT_EQ(Transferer().CountPartners(), 5);
    Tick({pushers[5]});
    EXPECT_EQ(Transferer().CountPartners(), 5);
    EXPECT_FALSE(Transferer().HasPartner(pushers[5]));
}

TEST_F(ForceTransfer, PartnersPassForcesOnlyAfterATickWithATouch) {
    CActiveWorldObject* pusher = Crate({5, 0, 0});
    pusher->ApplyForce(CForce(CVector(0.5f, 0, 0), CForce::kExternal));
    Tick({pusher});
    ASSERT_TRUE(Transferer().HasPartner(pusher));
    // A tick without a touch: the partner stays, but nothing passes and nothing is damped.
    Gather(CVector(1, 0, 0));
    Tick({});
    EXPECT_TRUE(Transferer().HasPartner(pusher));
    EXPECT_EQ(owner->GetContact(0)->GetForce(), CVector(1, 0, 0));
    // Any touch, even by another object, lets every partner pass its force again.
    CActiveWorldObject* other = Crate({-5, 0, 0});
    Tick({other});
    EXPECT_TRUE(VectorNear(owner->GetContact(0)->GetForce(), CVector(0.75f + 0.5f, 0, 0)));
    // A partner that died or went away is dropped at the next step.
    pusher->SetDead();
    other->SetPositionVector(CVector(-20, 0, 0));
    Tick({});
    EXPECT_EQ(Transferer().CountPartners(), 0);
}

} // namespace
