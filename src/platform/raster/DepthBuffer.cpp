#include "platform/raster/DepthBuffer.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat::raster {

namespace {

#if defined(__SSE2__)
// The largest lane; every lane is a number.
float LargestLane(__m128 m) {
    m = _mm_max_ps(m, _mm_movehl_ps(m, m));
    return _mm_cvtss_f32(_mm_max_ps(m, _mm_shuffle_ps(m, m, 1)));
}
#endif

} // namespace

void DepthBuffer::Resize(int width, int height) {
    m_width = width > 0 ? width : 0;
    m_height = height > 0 ? height : 0;
    m_values.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 1.0f);
    m_tilesAcross = (m_width + kTile - 1) >> kTileShift;
    m_tilesDown = (m_height + kTile - 1) >> kTileShift;
    const auto tiles = static_cast<std::size_t>(m_tilesAcross) * static_cast<std::size_t>(m_tilesDown);
    m_tileFar.assign(tiles, 1.0f);
    m_rowFar.assign(tiles * kTile, 1.0f);
    m_written.assign(tiles, 0);
    m_pending.clear();
    m_kept = true;
    // Rows below the buffer hold nothing.
    for (int y = m_height; y < m_tilesDown * kTile; ++y)
        for (int tx = 0; tx < m_tilesAcross; ++tx)
            m_rowFar[RowFarIndex(tx, y)] = kNothing;
}

void DepthBuffer::Fill(const gfx2d::Rect& area, float value) {
    const gfx2d::Rect r = area.Intersect(gfx2d::Rect::FromSize({m_width, m_height}));
    if (r.IsEmpty())
        return;
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(Row(y) + r.left, Row(y) + r.right, value);
    const float far = value == value ? value : kNothing; // not a number: passed over
    if (r == gfx2d::Rect::FromSize({m_width, m_height})) {
        // The whole buffer: every tile takes the value, and no row waits to be read.
        std::fill(m_tileFar.begin(), m_tileFar.end(), far);
        std::fill(m_rowFar.begin(), m_rowFar.end(), far);
        for (int y = m_height; y < m_tilesDown * kTile; ++y)
            for (int tx = 0; tx < m_tilesAcross; ++tx)
                m_rowFar[RowFarIndex(tx, y)] = kNothing;
        std::fill(m_written.begin(), m_written.end(), 0);
        m_pending.clear();
        m_kept = true;
        return;
    }
    if (!m_kept)
        return;
    // A tile the area covers wholly takes the value; the others it meets are read again.
    for (int ty = r.top >> kTileShift; ty <= (r.bottom - 1) >> kTileShift; ++ty)
        for (int tx = r.left >> kTileShift; tx <= (r.right - 1) >> kTileShift; ++tx) {
            const gfx2d::Rect tile = gfx2d::Rect{tx << kTileShift, ty << kTileShift, (tx + 1) << kTileShift,
                                                 (ty + 1) << kTileShift}
                                         .Intersect(gfx2d::Rect::FromSize({m_width, m_height}));
            if (r.Contains(tile)) {
                const auto index = static_cast<std::size_t>(ty * m_tilesAcross + tx);
                for (int y = tile.top; y < tile.bottom; ++y)
                    m_rowFar[RowFarIndex(tx, y)] = far;
                m_tileFar[index] = far;
                m_written[index] = 0; // should it be listed as written, Refresh passes over it
            } else {
                const gfx2d::Rect part = r.Intersect(tile);
                for (int y = part.top; y < part.bottom; ++y)
                    NoteWritten(y, part.left, part.right, false);
            }
        }
    Refresh();
}

float DepthBuffer::RowFar(int tx, int y) const {
    const int x0 = tx << kTileShift, x1 = std::min(x0 + kTile, m_width);
    const float* p = Row(y) + x0;
#if defined(__SSE2__)
    if (x1 - x0 ==
        kTile) // each value is the first operand of its maximum: one that is not a number is passed over
        return LargestLane(
            _mm_max_ps(_mm_loadu_ps(p), _mm_max_ps(_mm_loadu_ps(p + 4), _mm_set1_ps(kNothing))));
#endif
    float far = kNothing;
    for (int x = 0; x < x1 - x0; ++x)
        far = p[x] > far ? p[x] : far;
    return far;
}

void DepthBuffer::StopKeepingCoarse() {
    std::fill(m_tileFar.begin(), m_tileFar.end(), kUnknown);
    std::fill(m_written.begin(), m_written.end(), 0);
    m_pending.clear();
    m_kept = false;
}

void DepthBuffer::Refresh() {
    for (const std::uint32_t tile : m_pending) {
        const int tx = static_cast<int>(tile % static_cast<std::uint32_t>(m_tilesAcross));
        const int y0 = static_cast<int>(tile / static_cast<std::uint32_t>(m_tilesAcross)) << kTileShift;
        float* rows = m_rowFar.data() + static_cast<std::size_t>(tile) * kTile;
        if (m_written[tile] == 0)
            continue; // set by Fill since it was listed
        for (unsigned written = m_written[tile]; written != 0; written &= written - 1) {
            const int row = std::countr_zero(written);
            rows[row] = RowFar(tx, y0 + row);
        }
        m_written[tile] = 0;
#if defined(__SSE2__)
        static_assert(kTile == 8);
        m_tileFar[tile] = LargestLane(_mm_max_ps(_mm_loadu_ps(rows), _mm_loadu_ps(rows + 4)));
#else
        m_tileFar[tile] = *std::max_element(rows, rows + kTile);
#endif
    }
    m_pending.clear();
}

} // namespace plat::raster
