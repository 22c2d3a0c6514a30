#pragma once

#include "render/Overlay.h"

#include <memory>
#include <vector>

namespace zentrix {

class CSubOverlay;

/// The picture of a slide-out panel: pieces cut from the panel's pictures by its layout record, each
/// sliding between its own hidden and shown offsets. Coordinates given to it are panel-picture
/// coordinates.
class CCompoundOverlay : public COverlay {
public:
    /// Layout record fields: the picture ids, then the piece rows.
    static constexpr int kFieldPictures = 100;
    static constexpr int kFieldShownX = 130;
    static constexpr int kFieldShownY = 131;
    static constexpr int kFieldHiddenX = 132;
    static constexpr int kFieldHiddenY = 133;
    static constexpr int kFieldWidth = 134;
    static constexpr int kFieldHeight = 135;

    /// The picture of panel record `panelId`, its pieces filled from the record's pictures; the second
    /// id is not used.
    CCompoundOverlay(int panelId, int pictureId);
    /// Deletes every piece.
    ~CCompoundOverlay() override;

    /// Resets every piece to (x, y), then stores it.
    void SetPosition(int x, int y) override;
    /// The first piece's surface; null without pieces.
    plat::gfx2d::Surface* GetSurface() override;
    /// Replaces the list's contents with the pieces.
    void GetOverlayList(std::vector<COverlay*>& out) override;
    /// Every piece's blit; true only when all succeed.
    bool Blit(plat::gfx2d::Surface* destination) override;
    /// The blit of the first piece whose area holds (x, y); false when none does.
    bool BlitTo(int x, int y, plat::gfx2d::Surface* destination) override;
    bool BlitFrom(int x, int y, plat::gfx2d::Surface* source, bool keyed,
                  const plat::gfx2d::Rect* sourceRect) override;
    /// The fill of the first piece whose area holds the rectangle's top-left corner.
    bool FillRect(std::uint32_t colour, const plat::gfx2d::Rect& rect) override;
    /// The answer of the first piece whose area holds (x, y); true when none does.
    bool IsTransparentAt(int x, int y) override;
    /// The first piece's pixel.
    std::uint16_t ColourToPixel(std::uint32_t colour) override;

    /// Every piece's slide fraction.
    void SetSlideFraction(float f);
    /// The pieces in layout order.
    const std::vector<std::unique_ptr<CSubOverlay>>& GetPieces() const { return m_pieces; }

    /// How many compound overlays exist.
    static int LiveCount() { return s_liveCount; }

private:
    CSubOverlay* PieceAt(int x, int y) const;
    void ReadPieces(int panelId);
    void FillPieces(int panelId);

    static inline int s_liveCount = 0;

    std::vector<std::unique_ptr<CSubOverlay>> m_pieces;
};

} // namespace zentrix
