#include "world/TrackFileImage.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace zentrix {

namespace {

/// Where the records of a version lie and how they are built.
struct SLayout {
    std::size_t start;
    std::size_t strideX;
    std::size_t strideZ;
    bool doubleHeight; ///< a 64-bit height, then id and rotation at +8 and +12
};

// Versions 1 to 5. Versions 1 to 3 hold 8 x 8 records, 4 and 5 hold 64 x 64.
constexpr SLayout kLayouts[6] = {
    {0, 0, 0, false},     {32, 128, 16, true},   {28, 96, 12, false},
    {40, 128, 16, false}, {40, 1024, 16, false}, {36, 1024, 16, false},
};
constexpr std::size_t kMinimumSizes[6] = {0, 1056, 796, 1064, CTrackFileImage::kSize, CTrackFileImage::kSize};

std::uint32_t Get32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::uint64_t Get64(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint64_t>(Get32(bytes, offset)) |
           static_cast<std::uint64_t>(Get32(bytes, offset + 4)) << 32;
}

bool IsGridSize(std::uint32_t width, std::uint32_t depth, bool largeAllowed) {
    return (width == 8 && depth == 8) || (largeAllowed && width == 16 && depth == 16);
}

} // namespace

CTrackFileImage::CTrackFileImage() {
    for (std::uint32_t x = 0; x < kRecordCells; ++x)
        for (std::uint32_t z = 0; z < kRecordCells; ++z)
            Put32(kRecordsOffset + 1024 * x + 16 * z + 4, 0xFFFFFFFFu);
}

void CTrackFileImage::Put32(std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        m_bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void CTrackFileImage::WriteTrackHeader(std::uint32_t gridSizeIndex, std::uint32_t theme,
                                       std::uint32_t lightingFlag, bool routeClosed) {
    std::memcpy(m_bytes.data(), kSignature, sizeof kSignature);
    Put32(kVersionOffset, kVersion);
    Put32(kSizeOffset, static_cast<std::uint32_t>(kSize));
    Put32(kGridSizeOffset, gridSizeIndex);
    Put32(kThemeOffset, theme);
    Put32(kLightingOffset, lightingFlag);
    m_bytes[kRouteFlagOffset] = routeClosed ? 1 : 0;
}

void CTrackFileImage::WriteCellRecord(std::uint32_t x, std::uint32_t z, const SRecord& record) {
    if (x >= kRecordCells || z >= kRecordCells)
        return;
    const std::size_t offset =
        kRecordsOffset + 1024 * static_cast<std::size_t>(x) + 16 * static_cast<std::size_t>(z);
    std::uint32_t height = 0;
    std::memcpy(&height, &record.height, sizeof height);
    Put32(offset, height);
    Put32(offset + 4, static_cast<std::uint32_t>(record.pieceId));
    Put32(offset + 8, record.rotation);
    Put32(offset + 12, record.groundRotation);
}

std::size_t CTrackFileImage::MinimumSize(std::uint32_t version) {
    return version >= 1 && version <= 5 ? kMinimumSizes[version] : 0;
}

CTrackFileImage::SRecord CTrackFileImage::ReadRecord(std::span<const std::uint8_t> image,
                                                     std::uint32_t version, std::uint32_t x,
                                                     std::uint32_t z) {
    const SLayout& layout = kLayouts[version];
    const std::size_t offset = layout.start + layout.strideX * x + layout.strideZ * z;
    SRecord record;
    if (layout.doubleHeight) {
        const std::uint64_t bits = Get64(image, offset);
        double height = 0.0;
        std::memcpy(&height, &bits, sizeof height);
        // A value beyond any float becomes one that Check refuses, never an undefined conversion.
        record.height = std::fabs(height) <= std::numeric_limits<float>::max()
                            ? static_cast<float>(height)
                            : std::numeric_limits<float>::quiet_NaN();
        record.pieceId = static_cast<std::int32_t>(Get32(image, offset + 8));
        record.rotation = Get32(image, offset + 12);
        return record;
    }
    const std::uint32_t bits = Get32(image, offset);
    std::memcpy(&record.height, &bits, sizeof record.height);
    record.pieceId = static_cast<std::int32_t>(Get32(image, offset + 4));
    record.rotation = Get32(image, offset + 8);
    if (version == 5)
        record.groundRotation = Get32(image, offset + 12);
    return record;
}

bool CTrackFileImage::Check(std::span<const std::uint8_t> image, SInfo& info, std::string& why) {
    info = {};
    if (image.size() < kVersionOffset + 4) {
        why = "the image is shorter than its header (" + std::to_string(image.size()) + " bytes)";
        return false;
    }
    info.version = Get32(image, kVersionOffset);
    const std::size_t needed = MinimumSize(info.version);
    if (needed == 0) {
        why = "version " + std::to_string(info.version) + " is not one of 1 to 5";
        return false;
    }
    if (image.size() < needed) {
        why = "version " + std::to_string(info.version) + " needs " + std::to_string(needed) +
              " bytes, the image has " + std::to_string(image.size());
        return false;
    }
    if (info.version == 5) {
        info.gridSizeIndex = Get32(image, kGridSizeOffset);
        info.theme = Get32(image, kThemeOffset);
        info.lightingFlag = Get32(image, kLightingOffset);
        if (info.gridSizeIndex > 1) {
            why = "grid size index " + std::to_string(info.gridSizeIndex) + " is neither 0 nor 1";
            return false;
        }
        if (info.theme > 3) {
            why = "world theme " + std::to_string(info.theme) + " is not one of 0 to 3";
            return false;
        }
        info.width = info.depth = info.gridSizeIndex == 1 ? 16 : 8;
    } else {
        info.width = Get32(image, kGridSizeOffset);
        info.depth = Get32(image, kThemeOffset);
        // Versions 1 to 3 hold 8 x 8 records; version 4 holds more, for either grid the game makes.
        if (!IsGridSize(info.width, info.depth, info.version == 4)) {
            why = "a grid of " + std::to_string(info.width) + " x " + std::to_string(info.depth) +
                  " cells does not fit version " + std::to_string(info.version);
            return false;
        }
        info.gridSizeIndex = info.width == 16 ? 1 : 0;
    }
    for (std::uint32_t x = 0; x < info.width; ++x)
        for (std::uint32_t z = 0; z < info.depth; ++z) {
            const SRecord record = ReadRecord(image, info.version, x, z);
            // Heights are turned into levels of ten units by integer arithmetic further on.
            const double tenth = static_cast<double>(record.height) / 10.0;
            if (!std::isfinite(record.height) || !(std::fabs(tenth) < 2147483648.0)) {
                why = "cell (" + std::to_string(x) + ", " + std::to_string(z) + ") has an unusable height";
                return false;
            }
        }
    return true;
}

} // namespace zentrix
