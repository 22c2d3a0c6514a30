#pragma once

#include <algorithm>

namespace plat::gfx2d {

/// A pixel position.
struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

/// A width and height in pixels.
struct Size {
    int width = 0;
    int height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

/// A half-open pixel rectangle: left and top inclusive, right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    /// The rectangle at the origin covering a whole surface of the given size.
    static constexpr Rect FromSize(Size size) { return {0, 0, size.width, size.height}; }

    /// The rectangle of the given size at the given position.
    static constexpr Rect At(Point origin, Size size) {
        return {origin.x, origin.y, origin.x + size.width, origin.y + size.height};
    }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr Point Origin() const { return {left, top}; }

    /// True when the rectangle covers no pixel (zero or negative width or height).
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }

    /// True when the pixel lies inside.
    constexpr bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    /// True when the other rectangle is non-empty and lies wholly inside this one.
    constexpr bool Contains(const Rect& r) const {
        return !r.IsEmpty() && r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
    }

    /// The rectangle moved by the offset.
    constexpr Rect Offset(Point by) const { return {left + by.x, top + by.y, right + by.x, bottom + by.y}; }

    /// The overlap of two rectangles; empty (possibly inverted) when they do not meet.
    constexpr Rect Intersect(const Rect& r) const {
        return {std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
                std::min(bottom, r.bottom)};
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace plat::gfx2d
