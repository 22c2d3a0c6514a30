#include "race/CorneringData.h"

#include "foundation/assets/AssetMan.h"
#include "platform/system/DebugOutput.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace zentrix {

void CCorneringData::Clear(float speed) {
    m_carTypeId = 0;
    m_values.fill(speed);
}

bool CCorneringData::LoadCorneringData(int carTypeId, float topSpeed) {
    if (carTypeId < 1) {
        Clear();
        return false;
    }
    m_carTypeId = carTypeId;
    m_values.fill(topSpeed);
    // Only the worlds of the table have cornering data (a negative index included in "none").
    const int world = m_assets ? m_assets->GetWorld() : -1;
    if (world < 0 || world >= static_cast<int>(kWorldAssets.size()))
        return false;
    std::vector<std::uint8_t> bytes;
    if (m_assets->GetAssetData(kWorldAssets[static_cast<std::size_t>(world)], bytes) && !bytes.empty()) {
        const int taken = CopyValues(bytes);
        if (bytes.size() != kClassCount * sizeof(float) || taken < kClassCount)
            plat::system::DebugOutput("cornering data of world " + std::to_string(world) + ": " +
                                      std::to_string(bytes.size()) + " bytes, " + std::to_string(taken) +
                                      " usable values of ten; the other classes keep the top speed");
    }
    return true;
}

int CCorneringData::CopyValues(std::span<const std::uint8_t> bytes) {
    int taken = 0;
    for (int i = 0; i < kClassCount && (static_cast<std::size_t>(i) + 1) * 4 <= bytes.size(); ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * 4;
        const std::uint32_t bits =
            static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
            static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        // A speed that is no number would make every comparison of the driver false.
        if (!std::isfinite(value))
            continue;
        m_values[static_cast<std::size_t>(i)] = value;
        ++taken;
    }
    return taken;
}

float CCorneringData::GetValue(int cornerClass) const {
    return cornerClass >= 0 && cornerClass < kClassCount ? m_values[static_cast<std::size_t>(cornerClass)]
                                                         : 0.0f;
}

float CCorneringData::GetCornerSpeedLimit(int cornerClass, float percent) const {
    // In double, so that a large cornering value does not overflow on its way to the limit.
    return static_cast<float>(static_cast<double>(percent) * GetValue(cornerClass) / 100.0);
}

} // namespace zentrix
