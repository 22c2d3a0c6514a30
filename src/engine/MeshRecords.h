#pragma once

#include "engine/Quaternion.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zentrix {

class CTexture;

/// One vertex of a mesh: position and normal (24 bytes in the mesh files).
struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
};

/// One triangle of a mesh: three vertex indices, its texture (null: untextured), material flags and the
/// texture coordinates of its corners a, b and c.
struct MeshFace {
    std::uint32_t a, b, c;
    CTexture* texture;
    std::uint32_t flags;
    float tu0, tv0, tu1, tv1, tu2, tv2;
};

/// One key of a key track: any of scale, rotation and position at a whole frame number.
struct MeshKey {
    bool hasScale = false;
    bool hasRotation = false;
    bool hasPosition = false;
    float scale[3] = {1.0f, 1.0f, 1.0f};
    Quaternion rotation = {1.0f, 0.0f, 0.0f, 0.0f};
    float position[3] = {0.0f, 0.0f, 0.0f};
    float time = 0.0f;
};

/// The key-track animation of a mesh's own transform, with its optional per-frame matrix cache.
struct MeshKeyTracks {
    /// A current frame that no frame number equals, so the first request always animates.
    static constexpr float kNoFrame = 1048576.0f;
    /// The largest last frame a file may give: the cache holds one matrix per frame.
    static constexpr std::uint32_t kMaxLastFrame = 65535;

    std::vector<MeshKey> keys;                ///< sorted by time
    std::vector<std::uint8_t> frameDone;      ///< one byte per frame, empty without a cache
    std::vector<std::array<float, 16>> cache; ///< one matrix per frame, beside frameDone
    std::uint32_t lastFrame = 0;
    float currentFrame = kNoFrame;
    float base[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; ///< local matrix when attached
};

/// Whole vertex sets per frame. The sets lie one after another in the mesh's vertex block.
struct MeshVertexAnimation {
    std::uint32_t frameCount = 0;
    std::uint32_t currentFrame = 0;
    std::uint32_t totalVertices = 0;     ///< vertices of all sets
    std::vector<std::uint32_t> markers;  ///< frame numbers of the sets, in file order
    std::vector<std::int32_t> frameSets; ///< per frame, the set shown (-1: none, keep what is shown)
};

/// Adds a scale key at a frame: merged into a key of the same time, else inserted in time order.
void AddScaleKey(MeshKeyTracks& tracks, std::uint32_t frame, const float* scale);
/// Adds a rotation key ({s, x, y, z}) at a frame, as AddScaleKey.
void AddRotationKey(MeshKeyTracks& tracks, std::uint32_t frame, const Quaternion& rotation);
/// Adds a position key at a frame, as AddScaleKey.
void AddPositionKey(MeshKeyTracks& tracks, std::uint32_t frame, const float* position);

} // namespace zentrix
