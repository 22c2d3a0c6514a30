#pragma once

namespace zentrix {

/// A plane of a view volume: the points p with dot(normal, p) = distance. The normal has unit length
/// and points out of the volume, so a point with dot(normal, p) > distance lies outside.
struct ClipPlane {
    float normal[3];
    float distance;
};

/// The region a camera sees, bounded by the four edges of the viewport through the eye and by the near
/// plane. There is no far plane: the far distance limits the projection only.
struct ViewVolume {
    enum Side { kLeft, kRight, kBottom, kTop, kNear, kPlaneCount };

    ClipPlane planes[kPlaneCount];
};

/// The view volume in view space (x right, y up, z forward, eye at the origin) of a viewport of the
/// given size in pixels seen with the projection scale s and near distance n.
ViewVolume MakeViewVolume(float projectionScale, float nearDistance, int width, int height);

/// The same volume in world space, for a camera with the given world matrix (it looks along minus its
/// third row, with its second row up).
ViewVolume ViewVolumeToWorld(const ViewVolume& view, const float* cameraWorld);

/// How far the point lies outside the plane (negative inside).
float PlaneDistance(const ClipPlane& plane, const float* point);

} // namespace zentrix
