#include "platform/raster/DepthBuffer.h"

#include <algorithm>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat::raster {

void DepthBuffer::Resize(int width, int height) {
    m_width = width > 0 ? width : 0;
    m_height = height > 0 ? height : 0;
    m_values.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 1.0f);
    m_tilesAcross = (m_width + kTile - 1) >> kTileShift;
    m_tilesDown = (m_height + kTile - 1) >> kTileShift;
    m_tiles.assign(static_cast<std::size_t>(m_tilesAcross) * static_cast<std::size_t>(m_tilesDown), Tile{});
}

void DepthBuffer::Fill(const gfx2d::Rect& area, float value) {
    const gfx2d::Rect r = area.Intersect(gfx2d::Rect::FromSize({m_width, m_height}));
    if (r.IsEmpty())
        return;
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(Row(y) + r.left, Row(y) + r.right, value);
    for (int ty = r.top >> kTileShift; ty <= (r.bottom - 1) >> kTileShift; ++ty)
        for (int tx = r.left >> kTileShift; tx <= (r.right - 1) >> kTileShift; ++tx) {
            const gfx2d::Rect tile = gfx2d::Rect{tx << kTileShift, ty << kTileShift, (tx + 1) << kTileShift,
                                                 (ty + 1) << kTileShift}
                                         .Intersect(gfx2d::Rect::FromSize({m_width, m_height}));
            Tile& t = m_tiles[static_cast<std::size_t>(ty * m_tilesAcross + tx)];
            if (r.Contains(tile))
                t = {value, kExact, 0};
            else
                t.state = kStale;
        }
}

void DepthBuffer::NoteWritten(int y, int x0, int x1, bool nearerOnly) {
    if (x0 >= x1)
        return;
    Tile* row = m_tiles.data() + static_cast<std::size_t>((y >> kTileShift) * m_tilesAcross);
    for (int tx = x0 >> kTileShift; tx <= (x1 - 1) >> kTileShift; ++tx) {
        Tile& t = row[tx];
        if (!nearerOnly) {
            t.state = kStale;
        } else if (t.state != kStale) {
            t.state = kLoose;
            t.generation = m_generation;
        }
    }
}

void DepthBuffer::Refresh(Tile& tile, int tx, int ty) const {
    tile.state = kExact;
    const int x0 = tx << kTileShift, y0 = ty << kTileShift;
    const int x1 = std::min(x0 + kTile, m_width), y1 = std::min(y0 + kTile, m_height);
    float far = -std::numeric_limits<float>::infinity();
#if defined(__SSE2__)
    if (x1 - x0 == kTile) {
        // The value is the first operand of each maximum, so a value that is not a number is passed over.
        __m128 m = _mm_set1_ps(far);
        for (int y = y0; y < y1; ++y) {
            const float* p = Row(y) + x0;
            m = _mm_max_ps(_mm_loadu_ps(p), m);
            m = _mm_max_ps(_mm_loadu_ps(p + 4), m);
        }
        m = _mm_max_ps(m, _mm_movehl_ps(m, m));
        m = _mm_max_ps(m, _mm_shuffle_ps(m, m, 1));
        tile.far = _mm_cvtss_f32(m);
        return;
    }
#endif
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float v = Row(y)[x];
            far = v > far ? v : far;
        }
    tile.far = far;
}

} // namespace plat::raster
