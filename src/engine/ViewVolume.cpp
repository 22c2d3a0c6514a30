#include "engine/ViewVolume.h"

#include "foundation/math/EngineMath.h"

namespace zentrix {

namespace {

ClipPlane MakePlane(float nx, float ny, float nz, float distance) {
    ClipPlane plane{{nx, ny, nz}, distance};
    NormaliseVector(plane.normal);
    return plane;
}

} // namespace

ViewVolume MakeViewVolume(float projectionScale, float nearDistance, int width, int height) {
    const float s = projectionScale;
    const float halfWidth = static_cast<float>(width) / 2.0f;
    const float halfHeight = static_cast<float>(height) / 2.0f;
    ViewVolume volume;
    volume.planes[ViewVolume::kLeft] = MakePlane(-s, 0.0f, -halfWidth, 0.0f);
    volume.planes[ViewVolume::kRight] = MakePlane(s, 0.0f, -halfWidth, 0.0f);
    volume.planes[ViewVolume::kBottom] = MakePlane(0.0f, -s, -halfHeight, 0.0f);
    volume.planes[ViewVolume::kTop] = MakePlane(0.0f, s, -halfHeight, 0.0f);
    volume.planes[ViewVolume::kNear] = ClipPlane{{0.0f, 0.0f, -1.0f}, -nearDistance};
    return volume;
}

ViewVolume ViewVolumeToWorld(const ViewVolume& view, const float* cameraWorld) {
    // The view basis as the scene render builds it: right = up x direction, true up = direction x right.
    float direction[3] = {-cameraWorld[8], -cameraWorld[9], -cameraWorld[10]};
    float up[3] = {cameraWorld[4], cameraWorld[5], cameraWorld[6]};
    NormaliseVector(direction);
    NormaliseVector(up);
    float right[3];
    CrossProduct(right, up, direction);
    NormaliseVector(right);
    float trueUp[3];
    CrossProduct(trueUp, direction, right);
    NormaliseVector(trueUp);
    const float eye[3] = {cameraWorld[12], cameraWorld[13], cameraWorld[14]};

    ViewVolume world;
    for (int i = 0; i < ViewVolume::kPlaneCount; ++i) {
        const ClipPlane& p = view.planes[i];
        ClipPlane& w = world.planes[i];
        for (int k = 0; k < 3; ++k)
            w.normal[k] = static_cast<float>(static_cast<double>(p.normal[0]) * right[k] +
                                             static_cast<double>(p.normal[1]) * trueUp[k] +
                                             static_cast<double>(p.normal[2]) * direction[k]);
        w.distance = static_cast<float>(static_cast<double>(p.distance) + DotProduct(w.normal, eye));
    }
    return world;
}

float PlaneDistance(const ClipPlane& plane, const float* point) {
    return static_cast<float>(static_cast<double>(DotProduct(plane.normal, point)) - plane.distance);
}

} // namespace zentrix
