#include "construct/EraserMode.h"

#include "construct/ConstructPanel.h"
#include "construct/ConstructServices.h"
#include "foundation/assets/AssetMan.h"
#include "render/ParticleSystem.h"
#include "world/TrackEdit.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

namespace zentrix {

namespace {

std::uint32_t Index(int i) {
    return i < 0 ? CWorldGrid::kNoIndex : static_cast<std::uint32_t>(i);
}

} // namespace

void CWorldConstructMan::CEraserMode::Activate() {
    if (IsActive())
        return;
    SetPointerId(kEraserPointer);
    CCursorMode::Activate();
}

void CWorldConstructMan::CEraserMode::Deactivate() {
    if (!IsActive())
        return;
    CCursorMode::Deactivate();
    Untarget();
}

bool CWorldConstructMan::CEraserMode::IsInEditorState() const {
    return Owner().GetConstructServices().GetGameState() == kEditorState;
}

CWorldObject* CWorldConstructMan::CEraserMode::GetTargetObject() const {
    CWorldGrid* grid = Grid();
    if (!grid)
        return nullptr;
    if (m_targetKind == kTargetPiece)
        return grid->GetPieceAt(Index(m_targetX), Index(m_targetZ));
    if (m_targetKind == kTargetTile)
        return grid->GetCellObject(Index(m_targetX), Index(m_targetZ));
    return nullptr;
}

void CWorldConstructMan::CEraserMode::TrackCursor(unsigned /*ms*/) {
    if (!IsActive())
        return;
    const CVector cell = CWorldGrid::WorldToGrid(GetPointUnderMouse());
    m_pointerCellX = static_cast<int>(cell.x);
    m_pointerCellZ = static_cast<int>(cell.z);
    if (m_pointerCellX != m_targetX || m_pointerCellZ != m_targetZ) {
        Untarget();
        Target(m_pointerCellX, m_pointerCellZ);
    }
}

void CWorldConstructMan::CEraserMode::Target(int x, int z) {
    m_targetX = x;
    m_targetZ = z;
    CWorldGrid* grid = Grid();
    CAssetMan* assets = Owner().GetConstructServices().GetAssetMan();
    CTrackObject* piece = grid ? grid->GetPieceAt(Index(x), Index(z)) : nullptr;
    if (piece && (!assets || piece->GetTypeId() != assets->GetWorldBaseId())) {
        ShowHint(*piece);
        m_targetKind = kTargetPiece;
        m_targetAssetId = piece->GetTypeId();
        m_targetRotation = piece->GetRotation();
        piece->SetHighlight(0);
        return;
    }
    if (CWorldObject* tile = grid ? grid->GetCellObject(Index(x), Index(z)) : nullptr) {
        ShowHint(*tile);
        m_targetKind = kTargetTile;
        m_targetAssetId = tile->GetTypeId();
        auto* tilePiece = dynamic_cast<CTrackObject*>(tile);
        m_targetRotation = tilePiece ? tilePiece->GetRotation() : 0;
        tile->SetHighlight(0);
        return;
    }
    ClearTarget();
}

void CWorldConstructMan::CEraserMode::Untarget() {
    if (CWorldObject* object = GetTargetObject()) {
        if (dynamic_cast<CTrackObject*>(object))
            HideHint(*object);
        object->SetHighlight(3);
    }
    ClearTarget();
}

void CWorldConstructMan::CEraserMode::ClearTarget() {
    if (m_targetKind == kTargetPiece)
        if (CWorldObject* piece = GetTargetObject())
            piece->SetHighlight(3);
    m_targetX = m_targetZ = -1;
    m_targetKind = kNoTarget;
}

void CWorldConstructMan::CEraserMode::EraseTarget() {
    CWorldGrid* grid = Grid();
    CTrackObject* piece = grid ? grid->GetPieceAt(Index(m_targetX), Index(m_targetZ)) : nullptr;
    if (!piece)
        return;
    // The hint of a piece that goes ends with it.
    HideHint(*piece);
    CParticleSystem::Create(kErasePuff, piece->Position(), nullptr, -1.0f);
    RemoveTrackPiece(Index(m_targetX), Index(m_targetZ));
    ClearTarget();
}

void CWorldConstructMan::CEraserMode::LowerTile() {
    CWorldGrid* grid = Grid();
    if (!grid)
        return;
    const std::uint32_t x = Index(m_targetX);
    const std::uint32_t z = Index(m_targetZ);
    if (CWorldObject* tile = GetTargetObject())
        if (dynamic_cast<CTrackObject*>(tile))
            HideHint(*tile);
    SetTileHeight(x, z, grid->GetCellHeight(x, z) - 8.0f);
    // The cell is taken up again, with what now stands on it.
    m_targetX = m_targetZ = -1;
    m_targetKind = kNoTarget;
}

void CWorldConstructMan::CEraserMode::Act() {
    if (!IsActive() || !IsInEditorState())
        return;
    IConstructServices& services = Owner().GetConstructServices();
    if (m_targetKind == kTargetPiece) {
        services.PlayUiSound(kEraseSound);
        if (Owner().IsStartPieceAt(m_targetX, m_targetZ)) {
            // The start piece is never erased: it goes into the hand, and is remembered as a lifted
            // piece so that it can be put back where it was.
            services.PlayHelp(kHelpStartPiece);
            CTrackObject* start = Grid()->GetPieceAt(Index(m_targetX), Index(m_targetZ));
            const CVector anchor = CWorldGrid::WorldToGrid(start->Position());
            const int startId = start->GetTypeId();
            Owner().SetLiftedPiece(
                {startId, static_cast<int>(anchor.x), static_cast<int>(anchor.z), m_targetRotation});
            Owner().SetPreviewRotation(m_targetRotation);
            EraseTarget();
            Owner().SetMode(kModeAdd);
            Owner().SetCurrentPiece(startId, false);
            if (IConstructPanel* panel = Owner().GetPanel())
                panel->UncheckEraseToggle();
        } else {
            EraseTarget();
        }
        Owner().ClearAllHighlights();
        Owner().RebuildRoute();
    } else if (m_targetKind == kTargetTile) {
        LowerTile();
    }
}

void CWorldConstructMan::CEraserMode::AltAct() {
    if (!IsActive() || !IsInEditorState())
        return;
    Owner().SetMode(kModePickup);
    if (IConstructPanel* panel = Owner().GetPanel())
        panel->UncheckEraseToggle();
}

void CWorldConstructMan::CEraserMode::ShowHint(CWorldObject& /*object*/) {
    Owner().GetConstructServices().OnHelpHover(kHelpHint);
}

void CWorldConstructMan::CEraserMode::HideHint(CWorldObject& /*object*/) {
    Owner().GetConstructServices().OnHelpHoverEnd(kHelpHint);
}

} // namespace zentrix
