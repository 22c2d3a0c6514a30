#pragma once

namespace zentrix {

/// The ground of the race world as the race world hands it to the registry: its `CWorldTopography`,
/// built from the triangles of its meshes when a race starts. Until a race world builds one there is
/// none, and objects are placed at the height they are given.
class IWorldTopographyLink {
public:
    virtual ~IWorldTopographyLink() = default;
    /// The height of the highest ground under (x, z); -100.0 where no ground lies over the terrain, 0.0
    /// outside it.
    virtual float GetHeight(float x, float z) const = 0;
};

} // namespace zentrix
