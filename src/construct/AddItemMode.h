#pragma once

#include "construct/CursorMode.h"

namespace zentrix {

/// The add mode: a preview of the piece in hand follows the pointer over the grid, turns a quarter at a
/// right click, flashes while the placement check refuses it, and is placed at a left click.
class CWorldConstructMan::CAddItemMode : public CCursorMode {
public:
    /// A quarter turn takes this long.
    static constexpr float kTurnMs = 250.0f;
    /// Help items: the track is too long, the start piece is in the way, the ground cannot rise further.
    static constexpr int kHelpTooLong = 57232;
    static constexpr int kHelpStartPiece = 57015;
    static constexpr int kHelpTooHigh = 57231;
    /// The route's help item that a placement does not repeat.
    static constexpr int kHelpRouteQuiet = 57230;
    static constexpr int kPlaceSound = 49908;
    /// Height of a raised cell's step, and the highest ground a block may raise.
    static constexpr float kHeightStep = 8.0f;
    static constexpr float kHighestRaise = 24.0f;

    using CCursorMode::CCursorMode;
    ~CAddItemMode() override;

    void Activate() override;
    void Deactivate() override;
    void TrackCursor(unsigned ms) override;
    void Act() override;
    void AltAct() override;

    /// A new preview of the piece (none for -1); the same piece keeps its preview.
    void SetPreviewPiece(int assetId, bool hidden);
    /// The preview is the current theme's start piece.
    bool HoldsStartPiece() const;
    /// The placement check: the route rebuilt, then the preview's sides against its neighbours'.
    bool CheckConnections();
    /// Whether the preview leads off the grid.
    bool CheckBorders() const;
    /// Whether the preview would cover the start piece (the start piece itself never is).
    bool IsBlockedByStartPiece() const;
    /// Whether a further quarter turn keeps the preview on the grid.
    bool CanTurn() const;
    void AnimateTurn(unsigned ms);
    /// The pieces under the preview are hidden (and those hidden before shown again).
    void HideOverlapped();
    void RestoreHiddenMeshes();

    /// The preview, null when no piece is in hand.
    CTrackObject* GetPreview() const;
    float GetTurnTimer() const { return m_turnTimer; }
    bool IsPreviewHidden() const { return m_previewHidden; }
    bool IsPlaceable() const { return m_placeable; }
    bool IsStartPieceInTheWay() const { return m_startPieceInTheWay; }
    int GetCursorX() const { return static_cast<int>(m_cursorX); }
    int GetCursorZ() const { return static_cast<int>(m_cursorZ); }

private:
    void RemovePreview();
    /// The placeability test after the cursor cell changed or a turn finished.
    void Judge();

    mutable CTrackObject* m_preview = nullptr;
    float m_turnTimer = 0.0f;
    CVector m_lastPosition;
    bool m_meshesHidden = false;
    bool m_previewHidden = false;
    float m_cursorX = 0.0f;
    float m_cursorZ = 0.0f;
    bool m_placeable = false;
    bool m_startPieceInTheWay = false;
};

} // namespace zentrix
