// The active object on the sample set: its contact points from the asset, the body fitted to where
// they go, the take-off kick, a cancelled step, and forces handed to its points.

#include "WorldDoubles.h"

#include "foundation/assets/AWOAsset.h"
#include "foundation/math/Rotation.h"
#include "support/VectorExpect.h"
#include "world/ActiveWorldObject.h"
#include "world/BoundingVolume.h"
#include "world/CollisionRecorder.h"
#include "world/ContactPoint.h"
#include "world/ContactPointDesc.h"
#include "world/ForceTransferer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

constexpr unsigned kTick = 40;
constexpr int kCrate = 30030; // five points, 4 long and 3 wide
constexpr int kBall = 30031;  // one point 1 below its centre
constexpr int kCart = 30032;  // three points, the first at the rear

/// A contact point that notes every force it is handed: (point, kind, x, y, z).
class NotingPoint : public CContactPoint {
public:
    explicit NotingPoint(std::vector<std::string>& log) : m_log(log) {}
    void ApplyForce(const CForce& force) override {
        m_log.push_back(std::to_string(GetId()) + " " + std::to_string(force.GetKind()) + " " + Text(force));
        CContactPoint::ApplyForce(force);
    }
    static std::string Text(const CVector& v) {
        char text[64];
        std::snprintf(text, sizeof text, "%g %g %g", v.x + 0.0f, v.y + 0.0f, v.z + 0.0f);
        return text;
    }

private:
    std::vector<std::string>& m_log;
};

/// An active object whose points note their forces, and whose point `failAt` cannot be made.
class NotingBody : public CActiveWorldObject {
public:
    NotingBody(int assetId, std::vector<std::string>& log, int failAt = -1)
        : CActiveWorldObject(assetId, -1), m_log(log), m_failAt(failAt) {}
    std::unique_ptr<CContactPoint> CreateContactPoint(const CContactPointDesc& desc) override {
        ++asked;
        if (static_cast<int>(desc.index) == m_failAt)
            return nullptr;
        auto point = std::make_unique<NotingPoint>(m_log);
        point->Init(desc);
        return point;
    }
    using CActiveWorldObject::FitBodyToContacts;
    int asked = 0;

private:
    std::vector<std::string>& m_log;
    int m_failAt;
};

class ActiveWorldObject : public worldtest::WorldFixture {
protected:
    static CActiveWorldObject* Make(int assetId, CVector at) {
        return dynamic_cast<CActiveWorldObject*>(CWorldMan::CreateWorldObject(assetId, at.x, at.y, at.z, -1));
    }
    /// The frame's start, the step and its end, as the race tick runs them.
    static void Tick(CActiveWorldObject& object) {
        object.Update(kTick);
        object.SimulateStep(kTick);
        object.FinishStep(kTick);
    }
    std::vector<std::string> forces;
};

TEST_F(ActiveWorldObject, BodiesAtRestOnFlatGroundKeepTheirPose) {
    struct Case {
        int assetId;
        std::uint32_t points;
        CVector direction;
    };
    const Case cases[] = {
        {kBall, 1, {1, 0, 0}}, {kCart, 3, {0, 0, -1}}, {kCrate, 5, {1, 0, 0}}, {kCrate, 5, {0.6f, 0, 0.8f}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.assetId << " " << c.direction);
        CActiveWorldObject* body = Make(c.assetId, {10, 0, 20});
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(body->GetContactCount(), c.points);
        EXPECT_EQ(body->GetCollisionKind(), CWorldObject::kCollisionObject);
        EXPECT_TRUE(body->GetCollisionRecorder()->IsFrequencyLogOn());
        ASSERT_NE(body->GetForceTransferer(), nullptr);
        EXPECT_EQ(body->GetForceTransferer()->GetThreshold(), 120.0f);
        body->Reorient(c.direction, kUpVector);
        const CVector at = c.assetId == kBall ? CVector(10, 1, 20) : CVector(10, 0, 20);
        body->SetPositionVector(at);
        for (int i = 0; i < 10; ++i)
            Tick(*body);
        EXPECT_TRUE(VectorNear(body->Position(), at, 1e-4f));
        EXPECT_TRUE(VectorNear(body->Direction(), c.direction, 1e-5f));
        EXPECT_TRUE(VectorNear(body->Up(), kUpVector, 1e-5f));
        EXPECT_TRUE(body->IsGrounded());
        EXPECT_TRUE(body->HasEnoughGround());
    }
    CWorldMan::DeleteAllObjects();
}

TEST_F(ActiveWorldObject, AOnePointBodyStandsUprightOverItsPointWhateverItWasGiven) {
    CActiveWorldObject* ball = Make(kBall, {0, 5, 0});
    const CVector direction = CVector(1, 0, 1).GetNormalised();
    ball->Reorient(direction, CVector(0, 1, 1));
    for (int i = 0; i < 8; ++i) {
        Tick(*ball);
        EXPECT_EQ(ball->Up(), kUpVector);
        EXPECT_EQ(ball->Direction(), direction);
        EXPECT_TRUE(VectorNear(ball->Position() - ball->GetContact(0)->GetPosition(), CVector(0, 1, 0)));
    }
    EXPECT_NEAR(ball->Position().y, 1.0f, 1e-5f);
    CWorldMan::DeleteAllObjects();
}

TEST_F(ActiveWorldObject, ABodyTiltedFortyFiveDegreesOrMoreKeepsTheSavedFrame) {
    struct Case {
        float degrees;
        bool keepsFrame;
    };
    for (const Case c : {Case{30.0f, false}, Case{44.9f, false}, Case{45.1f, true}, Case{-60.0f, true}}) {
        SCOPED_TRACE(c.degrees);
        NotingBody body(kCrate, forces);
        body.Create();
        body.SetPositionVector(CVector(0, 10, 0));
        body.Reorient(kDefaultDirection, kUpVector);
        body.Update(kTick);
        // The points rolled about the body's long axis and moved 3 along it.
        const float angle = c.degrees * std::numbers::pi_v<float> / 180.0f;
        for (std::uint32_t i = 0; i < 5; ++i) {
            CVector p = body.GetContact(i)->GetPosition() - CVector(0, 10, 0);
            RotateAboutXAxis(p, p, angle);
            body.GetContact(i)->PlaceAt(p + CVector(-3, 10, 0));
        }
        body.FitBodyToContacts();
        if (c.keepsFrame) {
            EXPECT_EQ(body.Direction(), body.GetSavedDirection());
            EXPECT_EQ(body.Up(), body.GetSavedUp());
        } else {
            EXPECT_NEAR(body.Up().y, std::cos(angle), 1e-4f);
            EXPECT_TRUE(VectorNear(body.Direction(), kDefaultDirection, 1e-5f));
        }
        EXPECT_NEAR(body.Position().x, -3.0f, 1e-4f);
    }
}

TEST_F(ActiveWorldObject, AFivePointBodyLeavingTheGroundTiltedIsKickedUp) {
    struct Case {
        float upY;
        bool kicked;
    };
    for (const Case c : {Case{0.99f, true}, Case{0.5f, true}, Case{0.991f, false}, Case{1.0f, false}}) {
        SCOPED_TRACE(c.upY);
        CActiveWorldObject* crate = Make(kCrate, {0, 10, 0});
        crate->Reorient(CVector(0, 0, 1), CVector(std::sqrt(1.0f - c.upY * c.upY), c.upY, 0));
        ASSERT_EQ(crate->Up().y, c.upY);
        crate->Update(kTick);
        crate->SimulateStep(kTick); // every point was on the ground at its creation, none is now
        for (std::uint32_t i = 0; i < 5; ++i) {
            const float y = crate->GetContact(i)->GetVelocity().y;
            if (c.kicked)
                EXPECT_EQ(y, i <= 2 ? 0.55f : 0.45f) << i;
            else
                EXPECT_NE(y, i <= 2 ? 0.55f : 0.45f) << i;
        }
        CWorldMan::DeleteAllObjects();
    }
}

TEST_F(ActiveWorldObject, ACancelledStepLeavesTheFrameStartExactlyAndLosesLaterForces) {
    CActiveWorldObject* crate = Make(kCrate, {5, 8, -3});
    crate->Reorient(CVector(0.6f, 0, 0.8f), kUpVector);
    Tick(*crate);
    crate->Update(kTick);
    const CVector position = crate->Position(), direction = crate->Direction(), up = crate->Up();
    std::vector<CVector> points;
    for (std::uint32_t i = 0; i < 5; ++i)
        points.push_back(crate->GetContact(i)->GetPosition());
    // One corner flies up: the step moves and turns the body.
    crate->GetContact(3)->SetVelocity(CVector(0, 3, 0));
    crate->SimulateStep(kTick);
    ASSERT_FALSE(crate->Up() == up);
    ASSERT_FALSE(crate->Position() == position);
    crate->CancelStep();
    crate->ApplyForce(CForce(CVector(1, 0, 0), CForce::kExternal));
    crate->FinishStep(kTick);
    EXPECT_EQ(crate->Position(), position);
    EXPECT_EQ(crate->Direction(), direction);
    EXPECT_EQ(crate->Up(), up);
    for (std::uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(crate->GetContact(i)->GetPosition(), points[i]) << i;
        EXPECT_EQ(crate->GetContact(i)->GetForce(), CVector()) << i;
    }
    for (const auto& volume : crate->GetBoundingVolumes())
        EXPECT_EQ(volume->GetCentre(), position);
    // The next step takes forces again.
    crate->Update(kTick);
    crate->SimulateStep(kTick);
    crate->ApplyForce(CForce(CVector(1, 0, 0), CForce::kExternal));
    EXPECT_EQ(crate->GetContact(0)->GetForce(), CVector(1, 0, 0));
    CWorldMan::DeleteAllObjects();
}

TEST_F(ActiveWorldObject, AForceAtACornerIsSharedAlongAndAcrossTheBody) {
    struct Case {
        int assetId;
        std::uint32_t index;
        std::vector<std::string> expected;
    };
    // The body looks along +z with up +y, so its side (direction x up) is -x.
    const Case cases[] = {
        {kCrate, 1, {"1 0 1 0 2", "3 0 0 0 2", "2 0 1 0 0", "0 0 0.5 0 0", "0 0 0 0 1"}},
        {kCrate, 4, {"4 0 1 0 2", "2 0 0 0 2", "3 0 1 0 0", "0 0 0.5 0 0", "0 0 0 0 1"}},
        {kCrate, 0, {"0 0 1 0 2"}},
        {kCrate, 5, {}},
        {kCart, 1, {"1 0 1 0 2"}},
        {kCart, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.assetId << " point " << c.index);
        NotingBody body(c.assetId, forces);
        body.Create();
        body.Reorient(CVector(0, 0, 1), kUpVector);
        forces.clear();
        body.ApplyForceAtContact(CForce(CVector(1, 0, 2), CForce::kDrive), c.index);
        EXPECT_EQ(forces, c.expected);
    }
}

TEST_F(ActiveWorldObject, ACountNoBodyCanHaveGivesOnePointAndALine) {
    struct Case {
        int assetId;
        const char* line;
    };
    const Case cases[] = {
        {30033, "log 7 Contact point count 0 is not 1, 3 or 5 - From the world object No points"},
        {30034, "log 7 Contact point count 2 is not 1, 3 or 5 - From the world object Two points"},
        {30035, "log 7 Contact point count 7 is not 1, 3 or 5 - From the world object Seven points"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assetId);
        log.clear();
        CActiveWorldObject* body = Make(c.assetId, {1, 2, 3});
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(body->GetContactCount(), 1u);
        EXPECT_EQ(body->GetContact(0)->GetLocalOffset(), CVector());
        EXPECT_EQ(body->GetContact(0)->GetPosition(), CVector(1, 2, 3));
        EXPECT_NE(std::find(log.begin(), log.end(), c.line), log.end());
        body->ApplyForceAtContact(CForce(CVector(1, 0, 0), CForce::kDrive), 2);
        EXPECT_EQ(body->GetContact(0)->GetForce(), CVector());
        Tick(*body);
        EXPECT_EQ(body->Up(), kUpVector);
    }
    // A value that is not a number (a damaged data file) counts as 0.
    auto* crate = dynamic_cast<CAWOAsset*>(assets->GetWorldObjectAsset(kCrate));
    ASSERT_NE(crate, nullptr);
    const float friction = crate->GetFrictionCoefficient();
    crate->SetParam80(std::numeric_limits<float>::quiet_NaN());
    log.clear();
    CActiveWorldObject* damaged = Make(kCrate, {0, 0, 0});
    EXPECT_EQ(damaged->GetFrictionCoefficient(), 0.0f);
    crate->SetParam80(friction);
    EXPECT_EQ(log.back(),
              "log 7 Physical values that are not numbers count as 0 - From the world object Crate");
    // A point that cannot be made is not asked for again: the body stands on one point.
    log.clear();
    NotingBody body(kCrate, forces, 2);
    body.Create();
    EXPECT_EQ(body.asked, 4); // points 0, 1, 2, then the single one
    EXPECT_EQ(body.GetContactCount(), 1u);
    EXPECT_EQ(log.back(), "log 7 Contact point 2 could not be made - From the world object Crate");
    CWorldMan::DeleteAllObjects();
}

TEST_F(ActiveWorldObject, PointsReadTheContactsOfTheTickBeforeThroughTheirBody) {
    CActiveWorldObject* crate = Make(kCrate, {0, 0, 0});
    CActiveWorldObject* other = Make(kCrate, {4, 0, 0});
    CVector v;
    EXPECT_FALSE(crate->FindContact(5, v));
    crate->GetCollisionRecorder()->Record(CVector(-1, 0, 0), 0, 5, other);
    other->GetCollisionRecorder()->Record(CVector(0, 0, 1), 0, 1, nullptr);
    EXPECT_FALSE(crate->FindContact(5, v)); // this tick's contacts count from the next
    crate->GetCollisionRecorder()->NewFrame();
    EXPECT_TRUE(crate->FindContact(5, v));
    EXPECT_EQ(v, CVector(-1, 0, 0));
    EXPECT_FALSE(crate->FindContactOfOther(5, 1, v));
    other->GetCollisionRecorder()->NewFrame();
    EXPECT_TRUE(crate->FindContactOfOther(5, 1, v));
    EXPECT_EQ(v, CVector(0, 0, 1));
    // The other leaves the world: the contact names nobody.
    CWorldMan::RemoveObject(other);
    EXPECT_TRUE(crate->FindContact(5, v));
    EXPECT_FALSE(crate->FindContactOfOther(5, 1, v));
    CWorldMan::DeleteAllObjects();
}

} // namespace
