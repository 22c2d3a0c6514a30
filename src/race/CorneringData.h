#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zentrix {

class CAssetMan;

/// The cornering speeds one computer driver takes into each class of corner, chosen by the world of
/// the track: the world's cornering asset gives ten values in class order; without it every class
/// uses the car's top speed.
class CCorneringData {
public:
    /// Corner classes: a single small or big corner, then pairs of corners by their sizes and ways.
    static constexpr int kClassCount = 10;
    static constexpr float kDefaultSpeed = 3.0f;
    /// The cornering asset of each world index (3 and 4 are both the city).
    static constexpr std::array<int, 5> kWorldAssets = {1999, 2999, 4999, 3999, 3999};

    /// Cleared values, read through `assets` (null: no cornering asset is found).
    explicit CCorneringData(CAssetMan* assets) : m_assets(assets) {}

    /// Every value `speed`, bound to no car.
    void Clear(float speed = kDefaultSpeed);
    /// Binds the values to car type `carTypeId` (below 1: cleared, false): the top speed in every class,
    /// then the current world's asset over them; false when the world has no cornering asset.
    bool LoadCorneringData(int carTypeId, float topSpeed);
    /// Copies the little-endian floats of `bytes` over the values in class order (at most ten); a value
    /// that is not a finite number is left as it was. The number of values taken.
    int CopyValues(std::span<const std::uint8_t> bytes);

    /// Percent of the cornering value of class `cornerClass` (0 for a class outside 0..9).
    float GetCornerSpeedLimit(int cornerClass, float percent) const;
    int GetCarTypeId() const { return m_carTypeId; }
    float GetValue(int cornerClass) const;

private:
    CAssetMan* m_assets;
    std::int32_t m_carTypeId = 0;
    std::array<float, kClassCount> m_values{kDefaultSpeed, kDefaultSpeed, kDefaultSpeed, kDefaultSpeed,
                                            kDefaultSpeed, kDefaultSpeed, kDefaultSpeed, kDefaultSpeed,
                                            kDefaultSpeed, kDefaultSpeed};
};

} // namespace zentrix
