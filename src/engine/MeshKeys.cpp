#include "engine/MeshRecords.h"

#include <algorithm>

namespace zentrix {

namespace {

/// The key of the frame's time: an existing one, or a new one put before the first later key.
MeshKey& KeyAt(MeshKeyTracks& tracks, std::uint32_t frame) {
    const float time = static_cast<float>(frame);
    // Files list their keys in time order, so the search starts with the common case of a new last key.
    auto& keys = tracks.keys;
    auto it = keys.end();
    if (!keys.empty() && keys.back().time >= time)
        it = std::lower_bound(keys.begin(), keys.end(), time,
                              [](const MeshKey& key, float t) { return key.time < t; });
    if (it != keys.end() && it->time == time)
        return *it;
    MeshKey key;
    key.time = time;
    return *keys.insert(it, key);
}

} // namespace

void AddScaleKey(MeshKeyTracks& tracks, std::uint32_t frame, const float* scale) {
    MeshKey& key = KeyAt(tracks, frame);
    key.hasScale = true;
    for (int i = 0; i < 3; ++i)
        key.scale[i] = scale[i];
}

void AddRotationKey(MeshKeyTracks& tracks, std::uint32_t frame, const Quaternion& rotation) {
    MeshKey& key = KeyAt(tracks, frame);
    key.hasRotation = true;
    key.rotation = rotation;
}

void AddPositionKey(MeshKeyTracks& tracks, std::uint32_t frame, const float* position) {
    MeshKey& key = KeyAt(tracks, frame);
    key.hasPosition = true;
    for (int i = 0; i < 3; ++i)
        key.position[i] = position[i];
}

} // namespace zentrix
