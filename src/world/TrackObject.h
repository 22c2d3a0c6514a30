#pragma once

#include "world/BoundingVolumeDesc.h"
#include "world/WorldObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace zentrix {

class CActiveWorldObject;
class CAssetMan;
class CBoundingVolume;
class CCarObject;
class IWorldSounds;

/// A square piece of the track: a world object that knows the cells it covers (its footprint: offsets
/// from its anchor cell, unrotated), which of four quarter turns it faces, its index in the piece
/// catalogue and its share of the track length; it plays its sound to the cars near it and carries up to
/// five scene lights. The world's factory makes one for object kind 7; the track grid places it. Stunt
/// pieces derive from it and find the cars on them through its volumes (FindCarsIn).
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
    /// Light slots of a piece and their row fields, by element: offset in the mesh's space, colour
    /// (0..255 a channel) and radius.
    static constexpr int kLightSlots = 5;
    static constexpr int kFieldLightOffset = 353;
    static constexpr int kFieldLightColour = 354;
    static constexpr int kFieldLightRadius = 355;
    /// The stored light radius is this fraction of the light's range.
    static constexpr float kLightRadiusScale = 2.5f;

    /// Where a piece stands in the catalogue: the main pieces (30 a theme), the second list (15 a theme),
    /// the scenery list, or none of them.
    enum EPieceClass { kClassMain = 0, kClassSecond = 1, kClassScenery = 2, kClassNone = 3 };
    static constexpr int kMainPieceCount = 30;
    static constexpr int kSecondPieceCount = 15;
    /// The main-list index every height piece classifies as.
    static constexpr int kHeightPieceIndex = 11;

    /// A piece of type `typeId` with its footprint read; no mesh until Create.
    explicit CTrackObject(int typeId);
    /// Its lights go, and the pieces round it are lit again without them.
    ~CTrackObject() override;

    /// The world object's Create, then the piece's length.
    bool Create() override;
    /// Pieces (type ids 15000 to 19999) take their mesh from the row 200 below their type id.
    int GetAssetId() const override;
    /// The world object's tick, then the piece's sound for every car strictly nearer than the hearing
    /// distance (looping, for the car's driver slot); also while a race is paused.
    void Update(unsigned ms) override;
    /// Never called by the game; no piece does anything with it.
    virtual void OnPieceSignal(int /*value*/) {}

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
    /// Makes the piece's lights from its record, once a race has started or for a lamp piece (the editor
    /// shows only lamps lit); a light needs a finite radius above 0. The pieces round it are lit again
    /// when any light was asked for.
    void UpdateLights();
    /// The engine's light handle of slot i; -1 for none.
    int GetLightHandle(int slot) const { return slot >= 0 && slot < kLightSlots ? m_lights[slot] : -1; }
    /// The largest offset length plus radius over the lights made.
    float GetLightReach() const { return m_lightReach; }

    /// The groups "(x,z)" of a footprint text, read within its length: reading stops at the first group
    /// that is not two numbers (whole cells are taken, toward zero) of at most kMaxOffset in size, and
    /// keeps those before it. `complete` tells whether the whole text was read. No group: the one cell
    /// (0, 0).
    static std::vector<SCellOffset> ParseFootprint(std::string_view text, bool& complete);

protected:
    /// A volume of a stunt piece made from `desc` (kind sphere or box), centred on the piece and shifted
    /// by `offset` in the piece's frame; a box starts facing (-1, 0, 0). Null when it cannot be made.
    std::unique_ptr<CBoundingVolume> MakeStuntVolume(CBoundingVolumeDesc desc, const CVector& offset) const;
    /// Puts `volume` on the piece (centre and orientation with the piece, so its offset turns with it)
    /// and lists the cars, other than the piece, whose volumes meet it.
    void FindCarsIn(CBoundingVolume& volume, std::vector<CActiveWorldObject*>& cars) const;
    /// As FindCarsIn, the car objects only (the jam truck among them).
    void FindCarObjectsIn(CBoundingVolume& volume, std::vector<CCarObject*>& cars) const;
    /// The sounds of the world's objects; null: silent.
    static IWorldSounds* Sounds();
    /// The asset manager's current theme, 0 without one.
    static int CurrentTheme();
    /// A taunt report about the car's driver to the race.
    static void ReportTaunt(CWorldObject* car, int event);
    /// The turn of the piece's rotation: 2 pi, pi/2, pi, 3 pi/2 for rotations 0..3 (2 pi for none).
    float GetTurnAngle() const;
    /// Whether the race world is paused; stunt pieces then leave the cars alone.
    static bool IsRacePaused();
    /// Whether the race world reports its race started.
    static bool HasRaceStarted();

private:
    void RemoveOtherStartPieces();
    void RemoveLights();
    void ReadSoundId(CAssetMan& assets);

    float m_heightStep = kNoHeightStep;
    bool m_isHeightPiece = false;
    std::vector<SCellOffset> m_footprint;
    float m_length = 0.0f;
    CVector m_axis;
    int m_soundId = -1;
    int m_hintTextId = -1;
    bool m_onRoute = false;
    std::array<int, kLightSlots> m_lights{-1, -1, -1, -1, -1};
    float m_lightReach = 0.0f;
};

} // namespace zentrix
