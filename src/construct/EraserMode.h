#pragma once

#include "construct/CursorMode.h"

namespace zentrix {

/// The eraser: the piece or raised ground under the pointer is highlighted, and a left click removes the
/// piece (the start piece goes into the hand instead) or lowers the ground a step.
class CWorldConstructMan::CEraserMode : public CCursorMode {
public:
    /// What the pointer is on: nothing, a track piece, a cell's ground object.
    enum ETarget : int { kNoTarget = 0, kTargetPiece = 1, kTargetTile = 2 };
    static constexpr int kEraseSound = 49910;
    static constexpr int kHelpHint = 57211;
    static constexpr int kHelpStartPiece = 57015;
    /// The puff where a piece is erased.
    static constexpr int kErasePuff = 9015;

    using CCursorMode::CCursorMode;

    void Activate() override;
    void Deactivate() override;
    void TrackCursor(unsigned ms) override;
    void Act() override;
    /// Back to the pick-up mode, the erase toggle off.
    void AltAct() override;
    /// The help offered while the pointer is on the object.
    virtual void ShowHint(CWorldObject& object);
    virtual void HideHint(CWorldObject& object);

    int GetTargetKind() const { return m_targetKind; }
    int GetTargetX() const { return m_targetX; }
    int GetTargetZ() const { return m_targetZ; }
    int GetTargetAssetId() const { return m_targetAssetId; }
    int GetTargetRotation() const { return m_targetRotation; }
    /// The piece (kind 1) or ground object (kind 2) of the target cell; null for none.
    CWorldObject* GetTargetObject() const;

protected:
    void Target(int x, int z);
    void Untarget();
    void ClearTarget();
    /// The targeted piece puffs away and leaves the grid.
    void EraseTarget();
    /// The target cell's ground one step lower.
    void LowerTile();
    /// Only in the editor's own game state do clicks count.
    bool IsInEditorState() const;

private:
    int m_targetKind = kNoTarget;
    int m_targetX = -1;
    int m_targetZ = -1;
    int m_targetAssetId = -1;
    int m_targetRotation = 0;
    int m_pointerCellX = -1;
    int m_pointerCellZ = -1;
};

} // namespace zentrix
