#pragma once

#include "render/Overlay.h"

namespace zentrix {

/// One piece of a panel picture: a rectangle that slides between a hidden and a shown offset from the
/// panel's position as the panel slides. Coordinates given to it are panel-picture coordinates.
class CSubOverlay : public COverlay {
public:
    /// A piece of the given size with its own surface, placed at its hidden offset.
    CSubOverlay(int shownX, int shownY, int hiddenX, int hiddenY, int width, int height);
    ~CSubOverlay() override;

    /// The shown offset.
    int GetX() const override { return m_shownX; }
    int GetY() const override { return m_shownY; }
    /// Copies the picture part at panel-picture point (x, y) over the whole destination, without the key.
    bool BlitTo(int x, int y, plat::gfx2d::Surface* destination) override;
    bool BlitFrom(int x, int y, plat::gfx2d::Surface* source, bool keyed,
                  const plat::gfx2d::Rect* sourceRect) override;
    bool FillRect(std::uint32_t colour, const plat::gfx2d::Rect& rect) override;
    bool IsTransparentAt(int x, int y) override;

    /// Moves the piece by its offset at fraction f between hidden (0) and shown (1) from where it is now.
    void SetSlideFraction(float f);
    /// Whether panel-picture point (x, y) lies in the piece's area at its shown offset.
    bool AreaContains(int x, int y) const;

    /// How many pieces exist.
    static int LiveCount() { return s_liveCount; }

private:
    static inline int s_liveCount = 0;

    int m_shownX, m_shownY;
    int m_hiddenX, m_hiddenY;
};

} // namespace zentrix
