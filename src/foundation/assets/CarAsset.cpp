#include "foundation/assets/CarAsset.h"

#include "foundation/assets/AssetMan.h"

#include <cmath>

namespace zentrix {

namespace {

struct SHandlingTable {
    int dataId;
    float entries[7];
    float scale;
};

// Indexed by CCarAsset::EHandling.
constexpr SHandlingTable kTables[CCarAsset::kHandlingCount] = {
    {377, {65, 70, 75, 80, 85, 90, 95}, 0.0015f},
    {378, {80, 80, 80, 80, 80, 80, 80}, 0.00034f},
    {381, {145, 150, 155, 160, 165, 170, 175}, 0.0006f},
    {379, {260, 265, 270, 275, 280, 285, 290}, 0.0088f},
    {382, {50, 60, 70, 80, 90, 100, 110}, 0.025f},
    {380, {9.2f, 9.55f, 9.9f, 10.25f, 10.6f, 10.95f, 11.3f}, 1.1f},
};

/// The car whose top speed is fixed whatever its level.
constexpr int kSlowCarId = 60015;

} // namespace

int CCarAsset::LevelIndex(float level) {
    // Levels above the tables (the data keeps them within 0..6) take the last entry.
    if (!(level > 0.0f))
        return 0;
    return level >= 6.0f ? 6 : static_cast<int>(level);
}

float CCarAsset::HandlingValue(EHandling kind, float level) {
    const SHandlingTable& table = kTables[kind];
    return table.entries[LevelIndex(level)] * table.scale;
}

int CCarAsset::TyreOffset(int tyreType) {
    switch (tyreType) {
    case 1:
        return 1;
    case 2:
        return -1;
    default:
        return 0;
    }
}

void CCarAsset::Load(int assetId) {
    CAWOAsset::Load(assetId);
    const auto readInt = [&](int dataId, int& out) {
        out = 0;
        m_assets.GetInt(assetId, dataId, out);
    };
    readInt(11, m_workshopValue);
    readInt(50, m_carAssetId);
    readInt(13, m_workshopWheelA);
    readInt(14, m_workshopWheelB);
    readInt(47, m_raceWheelA);
    readInt(48, m_raceWheelB);
    readInt(12, m_i12);
    readInt(49, m_i49);
    for (int i = 0; i < 4; ++i) {
        m_workshopWheels[static_cast<std::size_t>(i)] = CVector();
        m_raceWheels[static_cast<std::size_t>(i)] = CVector();
        m_assets.GetVector(assetId, 15 + i, m_workshopWheels[static_cast<std::size_t>(i)]);
        m_assets.GetVector(assetId, 43 + i, m_raceWheels[static_cast<std::size_t>(i)]);
    }
    readInt(19, m_livery);
    m_defaultLivery = m_livery;
    readInt(20, m_tyreType);
    for (int kind = 0; kind < kHandlingCount; ++kind) {
        float level = 0.0f;
        m_assets.GetFloat(assetId, kTables[kind].dataId, level);
        m_levels[static_cast<std::size_t>(kind)] = level;
        m_handling[static_cast<std::size_t>(kind)] = HandlingValue(static_cast<EHandling>(kind), level);
    }
    if (assetId == kSlowCarId)
        m_handling[kTopSpeed] = 0.5f;
    m_f8 = 0.0f;
    m_assets.GetFloat(assetId, 8, m_f8);
    m_f8 *= 0.7f;
    m_f9 = 0.0f;
    m_assets.GetFloat(assetId, 9, m_f9);
    readInt(57, m_i57);
    readInt(58, m_i58);
    readInt(59, m_i59);
    m_i60 = -1;
    m_assets.GetInt(assetId, 60, m_i60);
    m_f405 = 0.0f;
    m_assets.GetFloat(assetId, 405, m_f405);
}

bool CCarAsset::UseRaceSet() const {
    return m_assets.GetCurrentWorldId() != 0;
}

int CCarAsset::GetWorkshopParam() const {
    return UseRaceSet() ? 0 : m_workshopValue;
}

void CCarAsset::ScaleParameters(float f1, float f2, float f3, float f4, float f5, float f6, float f7) {
    m_handling[kAcceleration] *= f1;
    m_handling[kBraking] *= f2;
    m_handling[kSteering381] *= f3;
    m_p80 *= f4;
    m_handling[kSideGrip382] *= f5;
    m_handling[kTopSpeed] *= f6;
    m_handling[kGrip380] *= f7;
}

void CCarAsset::ApplyTuning(int tyreType) {
    m_tyreType = tyreType;
    const float offset = static_cast<float>(GetTyreOffset());
    m_handling[kTopSpeed] = HandlingValue(kTopSpeed, m_levels[kTopSpeed] + offset);
    m_handling[kSideGrip382] = HandlingValue(kSideGrip382, m_levels[kSideGrip382] - offset);
    m_handling[kGrip380] = HandlingValue(kGrip380, m_levels[kGrip380] - offset);
}

float CCarAsset::GetDisplayLevel379() const {
    return (static_cast<float>(GetTyreOffset()) + m_levels[kTopSpeed] + 4.0f) / 10.0f;
}

float CCarAsset::GetDisplayLevel380() const {
    return (m_levels[kGrip380] - static_cast<float>(GetTyreOffset()) + 4.0f) / 10.0f;
}

void CCarAsset::Reload(int assetId) {
    const int livery = m_livery;
    const int tyreType = m_tyreType;
    Load(assetId);
    m_livery = livery;
    m_tyreType = tyreType;
}

} // namespace zentrix
