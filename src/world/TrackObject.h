#pragma once

#include "world/WorldObject.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace zentrix {

class CAssetMan;

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
    /// Row fields of a piece: its axis, proximity sound, editor hint text and height step.
    static constexpr int kFieldAxis = 56;
    static constexpr int kFieldHeightStep = 91;
    static constexpr int kFieldSound = 386;
    static constexpr int kFieldHintText = 393;
    /// The height step that marks a piece as no height piece.
    static constexpr float kNoHeightStep = -1.0f;

    /// Where a piece stands in the catalogue: the main pieces (30 a theme), the second list (15 a theme),
    /// the scenery list, or none of them.
    enum EPieceClass { kClassMain = 0, kClassSecond = 1, kClassScenery = 2, kClassNone = 3 };
    static constexpr int kMainPieceCount = 30;
    static constexpr int kSecondPieceCount = 15;
    /// The main-list index every height piece classifies as.
    static constexpr int kHeightPieceIndex = 11;

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

    /// A side mask (1 the -x side, 2 +z, 4 +x, 8 -z) turned with the piece: each bit moves one step along
    /// 1 -> 2 -> 4 -> 8 -> 1 a quarter turn; bits above 8 are dropped.
    int RotateSideMask(int mask) const { return TurnSideMask(mask, GetRotation()); }
    /// The four side bits turned by quarter turns 1..3; other rotations leave them as they are.
    static int TurnSideMask(int mask, int rotation);

    /// The piece's class and its index in that class's list; false (class none, index -1) for a piece in
    /// no list. A height piece is main piece 11 whatever its type.
    bool GetPieceClass(int& pieceClass, std::int16_t& index) const;
    static bool ClassifyPiece(int typeId, bool isHeightPiece, int& pieceClass, std::int16_t& index);

    /// A height block: its record gives the step it raises a cell by.
    bool IsHeightPiece() const { return m_isHeightPiece; }
    float GetHeightStep() const { return m_heightStep; }
    /// The piece's axis, turned a quarter turn for rotations 1 and 3.
    CVector GetTrackAxis() const;
    /// The sound played near the piece, -1 none.
    int GetSoundId() const { return m_soundId; }
    /// The editor's help text for the piece, -1 none.
    int GetHintTextId() const { return m_hintTextId; }
    /// Set by the route builder while the piece lies on the built route.
    void SetOnRoute(bool onRoute) { m_onRoute = onRoute; }
    bool IsOnRoute() const { return m_onRoute; }
    /// The two street lamps show their lights in the editor too.
    bool IsLampPiece() const { return GetPieceIndex() == 72 || GetPieceIndex() == 93; }

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
    void ReadSoundId(CAssetMan& assets);

    float m_heightStep = kNoHeightStep;
    bool m_isHeightPiece = false;
    std::vector<SCellOffset> m_footprint;
    float m_length = 0.0f;
    CVector m_axis;
    int m_soundId = -1;
    int m_hintTextId = -1;
    bool m_onRoute = false;
};

} // namespace zentrix
