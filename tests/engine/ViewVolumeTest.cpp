#include "engine/ViewVolume.h"
#include "engine/Camera.h"
#include "foundation/math/EngineMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zentrix;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kScale = 320.0f;
constexpr float kNear = 8.0f;

/// The planes a point lies outside of, as bits of ViewVolume::Side.
unsigned Outside(const ViewVolume& volume, float x, float y, float z) {
    const float p[3] = {x, y, z};
    unsigned bits = 0;
    for (int i = 0; i < ViewVolume::kPlaneCount; ++i)
        if (PlaneDistance(volume.planes[i], p) > 0.0f)
            bits |= 1u << i;
    return bits;
}

struct PointCase {
    float x, y, z;
    unsigned outside;
    const char* label;
};

// With s = w / 2 the horizontal edges run at 45 degrees; the vertical ones at atan(240 / 320).
const PointCase kViewCases[] = {
    {0, 0, 100, 0, "straight ahead"},
    {99, 74, 100, 0, "just inside the top right corner"},
    {-101, 0, 100, 1u << ViewVolume::kLeft, "beyond the left edge"},
    {101, 0, 100, 1u << ViewVolume::kRight, "beyond the right edge"},
    {0, -76, 100, 1u << ViewVolume::kBottom, "below the bottom edge"},
    {0, 76, 100, 1u << ViewVolume::kTop, "above the top edge"},
    {0, 0, 7.5f, 1u << ViewVolume::kNear, "nearer than the near plane"},
    {0, 0, 8.5f, 0, "just beyond the near plane"},
    {0, 0, 1e6f, 0, "far away (there is no far plane)"},
    {0, 0, -50,
     (1u << ViewVolume::kLeft) | (1u << ViewVolume::kRight) | (1u << ViewVolume::kBottom) |
         (1u << ViewVolume::kTop) | (1u << ViewVolume::kNear),
     "behind the eye"},
};

TEST(ViewVolume, PointsInViewSpace) {
    const ViewVolume volume = MakeViewVolume(kScale, kNear, kWidth, kHeight);
    for (const PointCase& c : kViewCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Outside(volume, c.x, c.y, c.z), c.outside);
    }
}

TEST(ViewVolume, PlanesAreUnitLengthAndPointOutward) {
    const ViewVolume volume = MakeViewVolume(1000.0f, kNear, kWidth, kHeight);
    const float inside[3] = {0, 0, 1000};
    for (const ClipPlane& plane : volume.planes) {
        EXPECT_NEAR(VectorLength(plane.normal), 1.0f, 1e-6f);
        EXPECT_LT(PlaneDistance(plane, inside), 0.0f);
    }
    EXPECT_EQ(volume.planes[ViewVolume::kNear].normal[2], -1.0f);
    // The edges pass through the eye.
    const float eye[3] = {0, 0, 0};
    for (int i = ViewVolume::kLeft; i <= ViewVolume::kTop; ++i)
        EXPECT_EQ(PlaneDistance(volume.planes[i], eye), 0.0f);
}

TEST(ViewVolume, WorldPlanesFollowTheCamera) {
    CFrame root;
    root.SetPosition(100, 0, 0);
    auto* camera = new CCamera(&root, kScale);
    camera->SetPosition(0, 20, 0);
    camera->SetDirection(1, 0, 0); // looks along world +x from (100, 20, 0)
    root.Prepare(nullptr, true);
    float world[16];
    camera->GetMatrix(world);
    const ViewVolume volume = ViewVolumeToWorld(
        MakeViewVolume(camera->GetProjectionScale(), camera->GetNearPlane(), kWidth, kHeight), world);

    for (const ClipPlane& plane : volume.planes)
        EXPECT_NEAR(VectorLength(plane.normal), 1.0f, 1e-5f);
    EXPECT_EQ(Outside(volume, 200, 20, 0), 0u);
    EXPECT_EQ(Outside(volume, 105, 20, 0), 1u << ViewVolume::kNear);
    EXPECT_EQ(Outside(volume, 200, 120, 0), 1u << ViewVolume::kTop);
    EXPECT_EQ(Outside(volume, 200, -80, 0), 1u << ViewVolume::kBottom);
    // Sideways points leave through one of the two side planes, whichever way the picture is mirrored.
    const unsigned sides = (1u << ViewVolume::kLeft) | (1u << ViewVolume::kRight);
    const unsigned toPositiveZ = Outside(volume, 200, 20, 150);
    const unsigned toNegativeZ = Outside(volume, 200, 20, -150);
    EXPECT_NE(toPositiveZ & sides, 0u);
    EXPECT_NE(toNegativeZ & sides, 0u);
    EXPECT_NE(toPositiveZ, toNegativeZ);
    EXPECT_EQ(Outside(volume, 0, 20, 0) & (1u << ViewVolume::kNear), 1u << ViewVolume::kNear);
}

} // namespace
