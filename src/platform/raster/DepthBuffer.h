#pragma once

#include "platform/gfx2d/Geometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace plat::raster {

/// A z-buffer of 32-bit floats, one per pixel of the render target, 0 near to 1 far, with a coarse
/// copy: for each tile of kTile x kTile pixels a depth no nearer than its farthest value, which lets
/// the rasterizer pass over triangles and runs of spans hidden behind what is drawn. Writers through
/// Row() tell what they wrote with NoteWritten. Writes that make no value farther leave a tile's bound
/// as it was until Refresh reads the tile again; any other write lifts the bound to infinity until
/// then. Fill and Refresh make every bound exact. A user that gains nothing from the coarse copy may
/// stop keeping it (every bound becomes infinity) until the next fill of the whole buffer.
class DepthBuffer {
public:
    static constexpr int kTileShift = 3;
    static constexpr int kTile = 1 << kTileShift;

    /// Makes the buffer width x height, every value 1.
    void Resize(int width, int height);
    /// First value of row y.
    float* Row(int y) {
        return m_values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    const float* Row(int y) const {
        return m_values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    /// Value at (x, y).
    float At(int x, int y) const { return Row(y)[x]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    /// Sets every value of the area (clipped to the buffer) to `value`.
    void Fill(const gfx2d::Rect& area, float value);
    /// Notes that values x0 .. x1 - 1 of row y were written: `nearerOnly` when none was made farther
    /// than it was (writes under the less, less-or-equal and equal tests).
    void NoteWritten(int y, int x0, int x1, bool nearerOnly) {
        NoteWritten(y >> kTileShift, static_cast<std::uint8_t>(1u << (y & (kTile - 1))), x0, x1, nearerOnly);
    }
    /// The same for the rows of tile row `ty` whose bits are set in `rows`, over columns x0 .. x1 - 1.
    void NoteWritten(int ty, std::uint8_t rows, int x0, int x1, bool nearerOnly) {
        if (!m_kept)
            return;
        const auto first = static_cast<std::size_t>(ty * m_tilesAcross);
        for (int tx = x0 >> kTileShift; tx <= (x1 - 1) >> kTileShift; ++tx) {
            const std::size_t tile = first + static_cast<std::size_t>(tx);
            if (m_written[tile] == 0)
                m_pending.push_back(static_cast<std::uint32_t>(tile));
            m_written[tile] |= rows;
            if (!nearerOnly)
                m_tileFar[tile] = kUnknown;
        }
    }
    /// Whether the coarse copy is kept.
    bool IsCoarseKept() const { return m_kept; }
    /// Stops keeping the coarse copy until the next fill of the whole buffer.
    void StopKeepingCoarse();
    /// How many tiles were written since the last Refresh.
    std::size_t PendingTiles() const { return m_pending.size(); }
    /// Reads the tiles written since the last Refresh again, so their bounds are exact.
    void Refresh();
    /// No value of tile (tx, ty) is farther than this (values that are not numbers aside: they pass no
    /// less test). Minus infinity for a tile of nothing else.
    float TileFar(int tx, int ty) const {
        return m_tileFar[static_cast<std::size_t>(ty * m_tilesAcross + tx)];
    }
    int TilesAcross() const { return m_tilesAcross; }
    int TilesDown() const { return m_tilesDown; }

private:
    static constexpr float kNothing = -std::numeric_limits<float>::infinity();
    static constexpr float kUnknown = std::numeric_limits<float>::infinity();

    /// The farthest value of row y of tile column tx.
    float RowFar(int tx, int y) const;
    std::size_t RowFarIndex(int tx, int y) const {
        return static_cast<std::size_t>(((y >> kTileShift) * m_tilesAcross + tx) * kTile + (y & (kTile - 1)));
    }

    std::vector<float> m_values;
    std::vector<float> m_tileFar;         // per tile, a bound: exact unless written since the last Refresh
    std::vector<float> m_rowFar;          // per tile, the farthest value of each of its kTile rows
    std::vector<std::uint8_t> m_written;  // per tile, a bit for each row written since the last Refresh
    std::vector<std::uint32_t> m_pending; // the tiles with rows written
    bool m_kept = true;
    int m_width = 0;
    int m_height = 0;
    int m_tilesAcross = 0;
    int m_tilesDown = 0;
};

} // namespace plat::raster
