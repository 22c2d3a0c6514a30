#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zentrix {

/// A track file in memory: exactly 65576 bytes, little-endian, written and read field by field. Version 5
/// (the one written) holds the signature "KAVO VORN", the version, the image size, the grid size index,
/// the world theme, a lighting flag, a 64 x 64 array of 16-byte cell records (cell (x, z) at
/// 36 + 1024 x + 16 z) and the route flag. Versions 1 to 4, read only, hold the grid's width and depth
/// instead of the index and theme, and records of their own layout.
class CTrackFileImage {
public:
    static constexpr std::size_t kSize = 65576;
    static constexpr std::uint32_t kVersion = 5;
    /// Written with its NUL, then NULs up to offset 12.
    static constexpr char kSignature[] = "KAVO VORN";
    static constexpr std::size_t kVersionOffset = 12;
    static constexpr std::size_t kSizeOffset = 16;
    static constexpr std::size_t kGridSizeOffset = 20;
    static constexpr std::size_t kThemeOffset = 24;
    static constexpr std::size_t kLightingOffset = 28;
    static constexpr std::size_t kRecordsOffset = 36;
    static constexpr std::size_t kRouteFlagOffset = 65572;
    /// The record array's side.
    static constexpr std::uint32_t kRecordCells = 64;

    /// One cell as a record holds it.
    struct SRecord {
        /// Ground height; -1.0 = no ground.
        float height = 0.0f;
        /// Piece type id; -1 = no piece on this cell.
        std::int32_t pieceId = -1;
        /// Quarter turns of the piece, 0..3 (the grid refuses a piece turned more).
        std::uint32_t rotation = 0;
        /// Quarter turns of the cell's ground object (written, never read).
        std::uint32_t groundRotation = 0;
        bool operator==(const SRecord&) const = default;
    };

    /// What the header of an image says, once the whole image is found sound.
    struct SInfo {
        std::uint32_t version = 0;
        std::uint32_t width = 0;
        std::uint32_t depth = 0;
        /// Version 5 only: the grid size index (0 or 1), the theme (0..3) and the lighting flag.
        std::uint32_t gridSizeIndex = 0;
        std::uint32_t theme = 0;
        std::uint32_t lightingFlag = 0;
    };

    /// A blank version 5 image: every byte 0 and every record's piece id -1.
    CTrackFileImage();

    /// The header: signature, version 5, size, grid size index, theme, lighting flag, and the route flag
    /// (1 for a closed route).
    void WriteTrackHeader(std::uint32_t gridSizeIndex, std::uint32_t theme, std::uint32_t lightingFlag,
                          bool routeClosed);
    /// The record of cell (x, z); nothing outside the 64 x 64 array.
    void WriteCellRecord(std::uint32_t x, std::uint32_t z, const SRecord& record);

    std::span<const std::uint8_t> Bytes() const { return m_bytes; }
    const std::uint8_t* Data() const { return m_bytes.data(); }
    static constexpr std::size_t Size() { return kSize; }

    /// Whether an image can be read whole, without reading past its end: long enough for its version
    /// (1 to 5), its grid size and theme known, and every record inside its grid holding a finite height
    /// whose tenth fits an int. False with the reason. A piece's rotation is the grid's to refuse, that
    /// piece alone.
    static bool Check(std::span<const std::uint8_t> image, SInfo& info, std::string& why);
    /// The record of cell (x, z) of an image of `version`; the cell must lie inside the grid of an image
    /// that Check found sound.
    static SRecord ReadRecord(std::span<const std::uint8_t> image, std::uint32_t version, std::uint32_t x,
                              std::uint32_t z);
    /// The bytes an image of `version` needs at least (0 for an unknown version).
    static std::size_t MinimumSize(std::uint32_t version);

private:
    void Put32(std::size_t offset, std::uint32_t value);

    std::array<std::uint8_t, kSize> m_bytes{};
};

} // namespace zentrix
