#pragma once

#include "platform/gfx2d/Geometry.h"

#include <cstdint>
#include <vector>

namespace plat::raster {

/// A z-buffer of 32-bit floats, one per pixel of the render target, 0 near to 1 far, with a coarse
/// copy: for each tile of kTile x kTile pixels a depth no nearer than its farthest value, which lets
/// the rasterizer pass over triangles and runs of a span hidden behind what is drawn. The coarse copy
/// is exact after a clear and kept an upper bound by every write: writers through Row() tell what they
/// wrote with NoteWritten.
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
    /// Notes that values x0 .. x1 - 1 of row y were written: `nearerOnly` when none of them was made
    /// farther than it was (writes under the less, less-or-equal and equal tests).
    void NoteWritten(int y, int x0, int x1, bool nearerOnly);
    /// Starts a new triangle: tiles its predecessors made nearer are brought up to date when next asked.
    void NewTriangle() { ++m_generation; }
    /// No value of tile (tx, ty) lies farther than this (not-a-number values aside, which pass no less
    /// test). Exact unless the current triangle has written the tile since the last question.
    float TileFar(int tx, int ty) {
        Tile& t = m_tiles[static_cast<std::size_t>(ty * m_tilesAcross + tx)];
        if (t.state != kExact && (t.state == kStale || t.generation != m_generation))
            Refresh(t, tx, ty);
        return t.far;
    }
    int TilesAcross() const { return m_tilesAcross; }
    int TilesDown() const { return m_tilesDown; }

private:
    enum TileState : std::uint8_t {
        kExact, ///< the farthest value
        kLoose, ///< an upper bound: values were made nearer in generation m_tileGeneration
        kStale, ///< unknown: values may have been made farther
    };
    struct Tile {
        float far = 1.0f;
        TileState state = kExact;
        std::uint32_t generation = 0;
    };

    /// Reads the farthest value of tile (tx, ty) from the values.
    void Refresh(Tile& tile, int tx, int ty) const;

    std::vector<float> m_values;
    std::vector<Tile> m_tiles;
    int m_width = 0;
    int m_height = 0;
    int m_tilesAcross = 0;
    int m_tilesDown = 0;
    std::uint32_t m_generation = 0;
};

} // namespace plat::raster
