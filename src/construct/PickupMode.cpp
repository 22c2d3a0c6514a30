#include "construct/PickupMode.h"

#include "construct/ConstructPanel.h"
#include "construct/ConstructRoute.h"
#include "construct/ConstructServices.h"
#include "foundation/assets/AssetMan.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

namespace zentrix {

namespace {

/// The column of the theme's row that holds its height block.
constexpr int kHeightBlockColumn = 1;

} // namespace

void CWorldConstructMan::CPickupMode::Activate() {
    if (IsActive())
        return;
    CEraserMode::Activate();
    SetPointerId(kHandPointer);
}

void CWorldConstructMan::CPickupMode::Deactivate() {
    if (IsActive())
        CCursorMode::Deactivate();
}

int CWorldConstructMan::CPickupMode::HintOf(CWorldObject& object) const {
    IConstructRoute* route = Owner().GetRoute();
    if (route && route->GetErrorPiece() == &object)
        return route->GetErrorHelpId();
    auto* piece = dynamic_cast<CTrackObject*>(&object);
    return piece ? piece->GetHintTextId() : -1;
}

void CWorldConstructMan::CPickupMode::ShowHint(CWorldObject& object) {
    const int hint = HintOf(object);
    if (hint != -1)
        Owner().GetConstructServices().OnHelpHover(hint);
}

void CWorldConstructMan::CPickupMode::HideHint(CWorldObject& object) {
    const int hint = HintOf(object);
    if (hint != -1)
        Owner().GetConstructServices().OnHelpHoverEnd(hint);
}

void CWorldConstructMan::CPickupMode::Act() {
    if (!IsActive() || !IsInEditorState() || Owner().IsTrackTooLong())
        return;
    IConstructServices& services = Owner().GetConstructServices();
    if (GetTargetKind() == kTargetPiece) {
        CWorldObject* object = GetTargetObject();
        auto* piece = dynamic_cast<CTrackObject*>(object);
        if (!piece)
            return;
        IConstructRoute* route = Owner().GetRoute();
        if (route && route->GetErrorPiece() == piece) {
            services.OnHelpHoverEnd(route->GetErrorHelpId());
            route->ResetError();
        }
        // The piece's own cell, where it is put back (a larger piece's other cells would shift it).
        const CVector anchor = CWorldGrid::WorldToGrid(piece->Position());
        const int assetId = GetTargetAssetId();
        Owner().SetLiftedPiece(
            {assetId, static_cast<int>(anchor.x), static_cast<int>(anchor.z), GetTargetRotation()});
        Owner().SetPreviewRotation(GetTargetRotation());
        EraseTarget();
        Owner().SetMode(kModeAdd);
        Owner().SetCurrentPiece(assetId, false);
        if (IConstructPanel* panel = Owner().GetPanel())
            panel->HighlightCurrentPieceCell();
    } else if (GetTargetKind() == kTargetTile) {
        CAssetMan* assets = services.GetAssetMan();
        Owner().SetMode(kModeAdd);
        Owner().SetCurrentPiece(assets ? assets->GetWorldAssetId(0, kHeightBlockColumn) : -1, false);
        LowerTile();
        if (IConstructPanel* panel = Owner().GetPanel())
            panel->HighlightCurrentPieceCell();
    }
}

} // namespace zentrix
