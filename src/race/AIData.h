#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zentrix {

class CAssetMan;

/// The parameters that tune one computer driver, chosen by the car it drives: its block comes from the
/// car's parameter asset, or, for a car without one, from the developer's text file under "AIData",
/// which is then kept beside it as a ".bin" copy of the block. Every value is held to its range however
/// it was read, so the driver never divides by a spread of zero or accelerates past full throttle.
class CAIData {
public:
    /// The parameter block, in the order of its 20 little-endian bytes.
    struct SBlock {
        std::uint32_t unused0 = 0;
        std::uint8_t racingLine = 100; ///< how tightly the racing line is held, 0..100
        std::uint8_t unused5 = 0;
        std::int16_t braking = 100;      ///< percent of the cornering value taken as corner speed, 0..200
        std::int16_t overtaking = 100;   ///< percent chance to overtake a car in front, 0..100
        std::int16_t speed = 100;        ///< accelerator limit in percent, 0..100
        std::uint32_t reflex = 250;      ///< milliseconds between mode decisions
        std::uint8_t blocking = 0;       ///< percent chance per 500 ms to block a car behind, 0..100
        std::uint8_t cutsCorners = 0;    ///< upper bound of the random corner cut, 0..100
        std::uint8_t intelligence = 100; ///< percent chance to go for a pickup, 0..100
        std::uint8_t craziness = 0;      ///< percent chance per roll to go crazy, 0..100

        bool operator==(const SBlock&) const = default;
    };
    static constexpr std::size_t kBlockSize = 20;
    using Bytes = std::array<std::uint8_t, kBlockSize>;

    /// The first car id and the last one with a text file; the parameter asset is the car id less this.
    static constexpr int kFirstCarId = 60000;
    static constexpr int kLastTextCarId = 60012;
    static constexpr int kAssetIdOffset = 59937;
    /// Text files longer than this are refused unread (the real ones hold nine short lines).
    static constexpr std::size_t kMaxTextBytes = 64 * 1024;
    /// Lines are read in pieces of at most this many characters, as a 256-byte line buffer holds them.
    static constexpr std::size_t kLinePiece = 255;

    /// Parameters with the defaults, read through `assets` (null: nothing can be loaded).
    explicit CAIData(CAssetMan* assets) : m_assets(assets) {}

    /// Fills the block for car `carId`: from its parameter asset, else from its text file (then written
    /// beside it as ".bin"); true when something was loaded. Without either the defaults stay.
    bool LoadAIData(int carId);
    const SBlock& GetBlock() const { return m_block; }

    /// The block as stored, and a block from stored bytes copied over `block` (at most 20 of them).
    static Bytes ToBytes(const SBlock& block);
    static void CopyBytes(std::span<const std::uint8_t> bytes, SBlock& block);
    /// Holds every field to its range (no change for valid values).
    static void Clamp(SBlock& block);
    /// Reads the text file's lines into `block`: the first key of the fixed order that a line holds
    /// takes the whole number after the line's first "=", held to its range. A last line without a line
    /// end is not read, as the game has always read these files.
    static void ReadText(std::string_view text, SBlock& block);
    /// The text file of a car, relative to the resource path ("AIData\bugracer.txt"); empty for a car
    /// without one.
    static std::string TextFileName(int carId);

private:
    bool LoadFromText(int carId);

    CAssetMan* m_assets;
    SBlock m_block;
};

} // namespace zentrix
