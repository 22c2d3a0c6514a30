#pragma once

#include "world/WorldObject.h"

#include <string_view>
#include <vector>

namespace zentrix {

/// A square piece of the track: a world object that knows the cells it covers (its footprint: offsets
/// from its anchor cell, unrotated), which of four quarter turns it faces, its index in the piece
/// catalogue and its share of the track length. The world's factory makes one for object kind 7; the
/// track grid places it.
class CTrackObject : public CWorldObject {
public:
    /// One cell of a footprint, in cells from the anchor cell.
    struct SCellOffset {
        int x = 0;
        int z = 0;
        bool operator==(const SCellOffset&) const = default;
    };
    /// The footprint text of a piece's record ("(0,0)(0,1)"; empty: the one cell (0, 0)).
    static constexpr int kFieldFootprint = 90;
    /// The record whose float field kFieldLength holds every piece's length, by piece index.
    static constexpr int kLengthAsset = 40027;
    static constexpr int kFieldLength = 406;
    /// The farthest a footprint cell may lie from the anchor on either axis: no piece outgrows the
    /// largest grid.
    static constexpr int kMaxOffset = 15;

    /// A piece of type `typeId` with its footprint read; no mesh until Create.
    explicit CTrackObject(int typeId);

    /// The world object's Create, then the piece's length.
    bool Create() override;
    /// Pieces (type ids 15000 to 19999) take their mesh from the row 200 below their type id.
    int GetAssetId() const override;

    /// The type id less its theme's base (15200, 16200, 17200 or 18200) for ids strictly inside a theme's
    /// thousand; -1 otherwise.
    int GetPieceIndex() const { return PieceIndexOf(GetTypeId()); }
    static int PieceIndexOf(int typeId);

    /// Turns the piece to quarter turn 0..3: it looks along (0, 0, -1), (-1, 0, 0), (0, 0, 1) or (1, 0, 0);
    /// the up vector stays. Other values change nothing.
    void SetRotation(int rotation);
    /// The quarter turn the direction is nearest to, -z first; -1 for a direction without x or z.
    int GetRotation() const;
    /// A footprint offset turned by the piece's rotation; (0, 0) for a piece of no rotation.
    SCellOffset RotateOffset(const SCellOffset& offset) const { return TurnOffset(offset, GetRotation()); }
    /// An offset turned by quarter turns 0..3: (x, z), (z, -x), (-x, -z), (-z, x); (0, 0) for another value.
    static SCellOffset TurnOffset(const SCellOffset& offset, int rotation);
    /// The footprint, unrotated, in the order of the record's text.
    const std::vector<SCellOffset>& GetFootprint() const { return m_footprint; }
    /// The piece's share of the track length, never negative.
    float GetLength() const { return m_length; }

    /// Called once the piece lies on the grid: a start piece of the current theme takes the place of any
    /// other start piece on the track. True.
    bool OnPlaced();

    /// The groups "(x,z)" of a footprint text, read within its length: reading stops at the first group
    /// that is not two numbers (whole cells are taken, toward zero) of at most kMaxOffset in size, and
    /// keeps those before it. `complete` tells whether the whole text was read. No group: the one cell
    /// (0, 0).
    static std::vector<SCellOffset> ParseFootprint(std::string_view text, bool& complete);

private:
    void RemoveOtherStartPieces();

    std::vector<SCellOffset> m_footprint;
    float m_length = 0.0f;
};

} // namespace zentrix
