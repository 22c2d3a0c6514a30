#include "world/BoundingBox.h"
#include "world/BoundingSphere.h"

#include "support/VectorExpect.h"

#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

CBoundingVolumeDesc Desc(std::uint32_t kind, CVector centre, float sx, float sy = 0.0f, float sz = 0.0f) {
    CBoundingVolumeDesc desc;
    desc.kind = kind;
    desc.centre = centre;
    desc.sizes = {sx, sy, sz};
    return desc;
}

std::unique_ptr<CBoundingSphere> Sphere(CVector centre, float radius) {
    auto sphere = std::make_unique<CBoundingSphere>();
    EXPECT_TRUE(sphere->Create(Desc(CBoundingVolumeDesc::kSphere, centre, radius)));
    return sphere;
}

std::unique_ptr<CBoundingBox> Box(CVector centre, float sx, float sy, float sz) {
    auto box = std::make_unique<CBoundingBox>();
    EXPECT_TRUE(box->Create(Desc(CBoundingVolumeDesc::kBox, centre, sx, sy, sz)));
    box->SetOrientation(kDefaultDirection, kUpVector);
    return box;
}

TEST(BoundingVolume, MeetTestsByKindPair) {
    struct Case {
        const char* label;
        std::unique_ptr<CBoundingVolume> a, b;
        bool meet;
    };
    Case cases[] = {
        // The broad test sums the squares: 25 <= 9 + 16.
        {"spheres 3 and 4 at 5", Sphere({0, 0, 0}, 3), Sphere({5, 0, 0}, 4), true},
        {"spheres 3 and 4 at 5.01", Sphere({0, 0, 0}, 3), Sphere({5.01f, 0, 0}, 4), false},
        {"spheres 3 and 4 at 6 (not the square of the sum)", Sphere({0, 0, 0}, 3), Sphere({6, 0, 0}, 4),
         false},
        // A 2-unit cube's corner (1, 1, 1) lies sqrt(3) from the origin.
        {"box corner just inside a sphere", Box({0, 0, 0}, 2, 2, 2), Sphere({0, 0, 0}, 1.7321f), true},
        {"box corner just outside a sphere", Box({0, 0, 0}, 2, 2, 2), Sphere({0, 0, 0}, 1.732f), false},
        {"sphere against box, either order", Sphere({0, 0, 0}, 1.7321f), Box({0, 0, 0}, 2, 2, 2), true},
        {"sphere wholly inside a large box", Box({0, 0, 0}, 40, 40, 40), Sphere({0, 0, 0}, 5), false},
        {"equal boxes crossed like a plus sign", Box({0, 0, 0}, 10, 2, 2), Box({0, 0, 0}, 2, 2, 10), false},
        {"box corner inside another box", Box({0, 0, 0}, 4, 4, 4), Box({3, 3, 3}, 4, 4, 4), true},
        {"box corner on the other's face", Box({0, 0, 0}, 4, 4, 4), Box({4, 0, 0}, 4, 4, 4), true},
        {"boxes apart", Box({0, 0, 0}, 4, 4, 4), Box({4.01f, 0, 0}, 4, 4, 4), false},
        {"small box wholly inside a large one", Box({0, 0, 0}, 40, 40, 40), Box({1, 2, 3}, 2, 2, 2), true},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CBoundingVolume::Intersects(*c.a, *c.b), c.meet);
        EXPECT_EQ(CBoundingVolume::Intersects(*c.b, *c.a), c.meet);
    }
}

TEST(BoundingVolume, BoxContainment) {
    auto box = Box({10, 0, 0}, 2, 4, 6);
    EXPECT_EQ(box->GetRadiusSquared(), 36.0f); // the longest full side squared, not the half
    // The box spans x 9..11, y -2..2, z -3..3: every face is inside, a hair beyond it is not.
    const struct {
        CVector p;
        bool inside;
    } cases[] = {
        {{10, 0, 0}, true},       {{9, 0, 0}, true},         {{11, 0, 0}, true},
        {{10, -2, 0}, true},      {{10, 2, 0}, true},        {{10, 0, -3}, true},
        {{10, 0, 3}, true},       {{11, 2, 3}, true},        {{9, -2, -3}, true},
        {{8.999f, 0, 0}, false},  {{11.001f, 0, 0}, false},  {{10, -2.001f, 0}, false},
        {{10, 2.001f, 0}, false}, {{10, 0, -3.001f}, false}, {{10, 0, 3.001f}, false},
        {{0, 0, 0}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p);
        EXPECT_EQ(box->ContainsPoint(c.p), c.inside);
    }
}

TEST(BoundingVolume, OffsetTurnsWithTheOwner) {
    auto box = Box({100, 0, 50}, 2, 2, 2);
    box->SetOffset(-25, 3, 0); // 25 ahead of the owner in the model frame (direction (-1, 0, 0))
    box->SetOrientation({0, 0, -1}, kUpVector);
    EXPECT_TRUE(VectorNear(box->GetWorldOffset(), {0, 3, -25}, 1e-4f));
    EXPECT_TRUE(box->ContainsPoint({100, 3, 25}));
    EXPECT_FALSE(box->ContainsPoint({100, 3, 50}));
    EXPECT_TRUE(VectorNear(box->GetWorldCorner(0), {101, 2, 26}, 1e-4f));

    // The sphere's offset turns the same way, and moving the owner moves the volume.
    auto sphere = Sphere({0, 0, 0}, 1);
    sphere->SetOffset(-25, 0, 0);
    sphere->SetOrientation({1, 0, 0}, kUpVector);
    sphere->SetCentre(10, 0, 0);
    EXPECT_TRUE(VectorNear(sphere->GetWorldCentre(), {35, 0, 0}, 1e-4f));
    sphere->SetCentre(0, 0, 0);
    EXPECT_TRUE(VectorNear(sphere->GetWorldCentre(), {25, 0, 0}, 1e-4f));
}

TEST(BoundingVolume, RefusedDescriptorsMeetNothing) {
    const CBoundingVolumeDesc empty;
    EXPECT_EQ(empty.kind, CBoundingVolumeDesc::kNone);
    EXPECT_EQ(empty.sizes[0] + empty.sizes[1] + empty.sizes[2], 0.0f);

    const struct {
        const char* label;
        bool box;
        CBoundingVolumeDesc desc;
    } refused[] = {
        {"box from a sphere entry", true, Desc(CBoundingVolumeDesc::kSphere, {}, 2, 2, 2)},
        {"sphere from a box entry", false, Desc(CBoundingVolumeDesc::kBox, {}, 2, 2, 2)},
        {"box from an empty entry", true, CBoundingVolumeDesc()},
        {"box of size 0 (sizes a script left out)", true, Desc(CBoundingVolumeDesc::kBox, {}, 0, 0, 0)},
        {"box flat in one axis", true, Desc(CBoundingVolumeDesc::kBox, {}, 4, 0, 4)},
        {"box with a negative size", true, Desc(CBoundingVolumeDesc::kBox, {}, 4, -1, 4)},
        {"box with a NaN size", true, Desc(CBoundingVolumeDesc::kBox, {}, 4, kNaN, 4)},
        {"box with an infinite size", true,
         Desc(CBoundingVolumeDesc::kBox, {}, std::numeric_limits<float>::infinity(), 1, 1)},
        {"sphere of negative radius", false, Desc(CBoundingVolumeDesc::kSphere, {}, -1)},
        {"sphere of NaN radius", false, Desc(CBoundingVolumeDesc::kSphere, {}, kNaN)},
    };
    auto big = Sphere({0, 0, 0}, 1000);
    auto bigBox = Box({0, 0, 0}, 1000, 1000, 1000);
    for (const auto& c : refused) {
        SCOPED_TRACE(c.label);
        std::unique_ptr<CBoundingVolume> v;
        if (c.box)
            v = std::make_unique<CBoundingBox>();
        else
            v = std::make_unique<CBoundingSphere>();
        EXPECT_FALSE(v->Create(c.desc));
        EXPECT_FALSE(v->IsValid());
        EXPECT_FALSE(CBoundingVolume::Intersects(*v, *big));
        EXPECT_FALSE(CBoundingVolume::Intersects(*bigBox, *v));
        EXPECT_FALSE(CBoundingVolume::SpheresOverlap(*v, *big));
        if (c.box)
            EXPECT_FALSE(static_cast<CBoundingBox&>(*v).ContainsPoint({}));
    }

    // A failed Create undoes an earlier good one; a sphere of radius 0 is a point.
    auto sphere = Sphere({0, 0, 0}, 0);
    EXPECT_TRUE(CBoundingVolume::Intersects(*sphere, *big));
    EXPECT_FALSE(sphere->Create(Desc(CBoundingVolumeDesc::kSphere, {}, kNaN)));
    EXPECT_FALSE(CBoundingVolume::Intersects(*sphere, *big));
}

} // namespace
