#include "construct/AddItemMode.h"

#include "construct/ConstructPanel.h"
#include "construct/ConstructRoute.h"
#include "construct/ConstructServices.h"
#include "construct/PlacementCheck.h"
#include "engine/Entity.h"
#include "engine/Frame.h"
#include "engine/Mesh.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/math/Rotation.h"
#include "render/VornMesh.h"
#include "world/TrackEdit.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <numbers>
#include <string>

namespace zentrix {

namespace {

/// A preview that is not a height block hovers this far above its cells.
constexpr float kHover = 4.0f;

void ShowTree(CEntity* node) {
    if (!node)
        return;
    if (node->GetType() == CEntity::kKindMesh)
        static_cast<CMesh*>(node)->SetHidden(true, false);
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        ShowTree(child);
}

void SetMeshVisible(CWorldObject* object, bool visible) {
    if (object && object->GetMesh())
        object->GetMesh()->SetVisible(visible);
}

} // namespace

CWorldConstructMan::CAddItemMode::~CAddItemMode() {
    RemovePreview();
}

CTrackObject* CWorldConstructMan::CAddItemMode::GetPreview() const {
    // The world may have been cleared under the preview (a world left while a piece was in hand).
    if (m_preview && !IsInWorld(m_preview))
        m_preview = nullptr;
    return m_preview;
}

void CWorldConstructMan::CAddItemMode::RemovePreview() {
    if (CTrackObject* preview = GetPreview())
        CWorldMan::RemoveObject(preview);
    m_preview = nullptr;
}

void CWorldConstructMan::CAddItemMode::Activate() {
    if (IsActive())
        return;
    SetPointerId(kHandPointer);
    m_turnTimer = 0.0f;
    if (CTrackObject* preview = GetPreview())
        Owner().SetPreviewRotation(preview->GetRotation());
    CCursorMode::Activate();
}

void CWorldConstructMan::CAddItemMode::Deactivate() {
    if (!IsActive())
        return;
    RestoreHiddenMeshes();
    RemovePreview();
    CCursorMode::Deactivate();
}

bool CWorldConstructMan::CAddItemMode::HoldsStartPiece() const {
    CAssetMan* assets = Owner().GetConstructServices().GetAssetMan();
    const CTrackObject* preview = GetPreview();
    return preview && assets && preview->GetTypeId() == assets->GetStartPieceId();
}

void CWorldConstructMan::CAddItemMode::SetPreviewPiece(int assetId, bool hidden) {
    CTrackObject* old = GetPreview();
    if (old && old->GetTypeId() == assetId)
        return;
    RemovePreview();
    m_previewHidden = hidden;
    if (assetId == -1) {
        RestoreHiddenMeshes();
        return;
    }
    const CVector point = GetPointUnderMouse();
    CWorldObject* object = CWorldMan::CreateWorldObject(assetId, point.x, point.y, point.z, -1);
    auto* piece = dynamic_cast<CTrackObject*>(object);
    if (!piece) {
        // Nothing to carry: the add mode stays without a preview.
        if (object)
            CWorldMan::RemoveObject(object);
        if (IWorldServices* services = CWorldMan::GetServices())
            services->Log(CWorldObject::kLogChannel,
                          "The piece " + std::to_string(assetId) +
                              " makes no track piece - From the editor's add mode");
        return;
    }
    m_preview = piece;
    piece->SetHighlight(0);
    piece->SetRotation(Owner().GetPreviewRotation());
    // A new preview is judged where it first comes to rest, and shows its verdict then: its steady look
    // counts as placeable, so a place that refuses it makes it flash.
    m_lastPosition = CVector(1e9f, 1e9f, 1e9f);
    m_cursorX = m_cursorZ = -2.0f;
    m_placeable = true;
}

void CWorldConstructMan::CAddItemMode::TrackCursor(unsigned ms) {
    CTrackObject* preview = GetPreview();
    CWorldGrid* grid = Grid();
    if (!preview || !grid)
        return;
    CVector s = SnapToTile(GetPointUnderMouse());
    s.y = GetLowestFootprintHeight(*preview);
    const float previousX = m_cursorX;
    const float previousZ = m_cursorZ;
    const CVector cell = CWorldGrid::WorldToGrid(s);
    m_cursorX = cell.x;
    m_cursorZ = cell.z;
    if (!preview->IsHeightPiece())
        s.y += kHover;
    else
        s.y = grid->GetCellHeight(CellIndex(m_cursorX), CellIndex(m_cursorZ));
    preview->SetPositionVector(s);

    bool turnFinished = false;
    if (m_turnTimer > 0.0f) {
        AnimateTurn(ms);
        turnFinished = m_turnTimer <= 0.0f;
    }
    HideOverlapped();
    if (!(s == m_lastPosition)) {
        const bool fits = FitsOnGrid(*preview);
        SetMeshVisible(preview, fits);
        m_previewHidden = !fits;
        m_lastPosition = s;
    }
    if (m_cursorX != previousX || m_cursorZ != previousZ || turnFinished)
        Judge();
}

void CWorldConstructMan::CAddItemMode::Judge() {
    CTrackObject* preview = GetPreview();
    if (!preview)
        return;
    bool placeable = true;
    m_startPieceInTheWay = false;
    if (IsBlockedByStartPiece()) {
        m_startPieceInTheWay = true;
        placeable = false;
    } else if (!CheckConnections() || !CheckBorders()) {
        placeable = false;
    } else if (Owner().IsTrackTooLong()) {
        preview->SetHighlight(3);
        preview->SetHighlight(2);
        placeable = false;
    }
    if (placeable != m_placeable) {
        m_placeable = placeable;
        preview->SetHighlight(3);
        if (!placeable)
            preview->SetHighlight(2);
    }
}

void CWorldConstructMan::CAddItemMode::AnimateTurn(unsigned ms) {
    CTrackObject* preview = GetPreview();
    if (!preview)
        return;
    const float step = static_cast<float>(ms) / kTurnMs * (std::numbers::pi_v<float> / 2.0f);
    preview->SetDirectionVector(RotateAboutYAxis(preview->Direction(), step));
    m_turnTimer -= static_cast<float>(ms);
    if (m_turnTimer <= 0.0f) {
        preview->SetRotation(Owner().GetPreviewRotation());
        m_turnTimer = 0.0f;
        HideOverlapped();
    }
}

void CWorldConstructMan::CAddItemMode::HideOverlapped() {
    RestoreHiddenMeshes();
    CTrackObject* preview = GetPreview();
    CWorldGrid* grid = Grid();
    if (!preview || !grid || m_previewHidden)
        return;
    const int x = static_cast<int>(m_cursorX);
    const int z = static_cast<int>(m_cursorZ);
    for (const CTrackObject::SCellOffset& offset : preview->GetFootprint()) {
        const CTrackObject::SCellOffset turned = preview->RotateOffset(offset);
        const std::uint32_t cx = CellIndex(static_cast<float>(x + turned.x));
        const std::uint32_t cz = CellIndex(static_cast<float>(z + turned.z));
        if (CTrackObject* piece = grid->GetPieceAt(cx, cz)) {
            SetMeshVisible(piece, false);
            m_meshesHidden = true;
        }
        if (!preview->IsHeightPiece() && grid->GetCellHeight(cx, cz) > preview->Position().y)
            if (auto* tile = dynamic_cast<CTrackObject*>(grid->GetCellObject(cx, cz))) {
                SetMeshVisible(tile, false);
                m_meshesHidden = true;
            }
    }
}

void CWorldConstructMan::CAddItemMode::RestoreHiddenMeshes() {
    if (m_meshesHidden) {
        ShowTree(CWorldMan::GetWorldFrame());
        m_meshesHidden = false;
    }
    if (m_previewHidden)
        SetMeshVisible(GetPreview(), false);
}

bool CWorldConstructMan::CAddItemMode::IsBlockedByStartPiece() const {
    const CTrackObject* preview = GetPreview();
    CWorldGrid* grid = Grid();
    if (!preview || !grid)
        return false;
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    if (!preview->GetPieceClass(pieceClass, index) || (pieceClass == CTrackObject::kClassMain && index == 0))
        return false;
    for (const CTrackObject::SCellOffset& offset : preview->GetFootprint()) {
        const CTrackObject::SCellOffset turned = preview->RotateOffset(offset);
        if (Owner().IsStartPieceAt(GetCursorX() + turned.x, GetCursorZ() + turned.z))
            return true;
    }
    return false;
}

bool CWorldConstructMan::CAddItemMode::CheckConnections() {
    Owner().ClearAllHighlights();
    Owner().RebuildRoute();
    const CTrackObject* preview = GetPreview();
    CWorldGrid* grid = Grid();
    return !preview || !grid || zentrix::CheckConnections(*preview, GetCursorX(), GetCursorZ(), *grid);
}

bool CWorldConstructMan::CAddItemMode::CheckBorders() const {
    const CTrackObject* preview = GetPreview();
    CWorldGrid* grid = Grid();
    return !preview || !grid || zentrix::CheckBorders(*preview, GetCursorX(), GetCursorZ(), *grid);
}

bool CWorldConstructMan::CAddItemMode::CanTurn() const {
    const CTrackObject* preview = GetPreview();
    CWorldGrid* grid = Grid();
    if (!preview || !grid)
        return false;
    // The cells the piece will cover one quarter turn on.
    const int next = (preview->GetRotation() + 1) & 3;
    const int size = static_cast<int>(grid->GetSizeX());
    for (const CTrackObject::SCellOffset& offset : preview->GetFootprint()) {
        const CTrackObject::SCellOffset turned = CTrackObject::TurnOffset(offset, next);
        const int x = GetCursorX() + turned.x;
        const int z = GetCursorZ() + turned.z;
        if (x < 0 || z < 0 || x >= size || z >= size)
            return false;
    }
    return true;
}

void CWorldConstructMan::CAddItemMode::AltAct() {
    if (!IsActive() || !GetPreview() || !CanTurn() || m_turnTimer > 0.0f)
        return;
    m_turnTimer = kTurnMs;
    Owner().SetPreviewRotation(Owner().GetPreviewRotation() + 1);
    RestoreHiddenMeshes();
}

void CWorldConstructMan::CAddItemMode::Act() {
    CTrackObject* preview = GetPreview();
    CWorldGrid* grid = Grid();
    if (!IsActive() || !preview || m_previewHidden || !grid)
        return;
    IConstructServices& services = Owner().GetConstructServices();
    bool allowed = true;
    if (!m_placeable && Owner().IsTrackTooLong()) {
        allowed = false;
        services.PlayHelp(kHelpTooLong);
    }
    if (m_startPieceInTheWay) {
        services.PlayHelp(kHelpStartPiece);
        allowed = false;
    }
    const CVector cell = CWorldGrid::WorldToGrid(preview->Position());
    const std::uint32_t x = CellIndex(cell.x);
    const std::uint32_t z = CellIndex(cell.z);
    if (!allowed)
        return;
    services.PlayUiSound(kPlaceSound);
    if (!preview->IsHeightPiece()) {
        const int assetId = preview->GetTypeId();
        PlaceTrackPiece(assetId, x, z, static_cast<std::uint32_t>(Owner().GetPreviewRotation()));
        Owner().SetMode(kModePickup);
        SetPreviewPiece(-1, false);
    } else {
        const float ground = grid->GetCellHeight(x, z);
        if (ground >= kHighestRaise)
            services.PlayHelp(kHelpTooHigh);
        else
            SetTileHeight(x, z, ground + kHeightStep);
        Owner().SetMode(kModePickup);
    }
    Owner().SetCurrentPiece(-1, false);
    if (IConstructPanel* panel = Owner().GetPanel())
        panel->SetHighlightedCell(-1);
    Owner().ClearAllHighlights();
    Owner().RebuildRoute();
    if (IConstructRoute* route = Owner().GetRoute()) {
        const CWorldObject* placed = grid->GetPieceAt(x, z);
        const int helpId = route->GetErrorHelpId();
        if ((placed && placed == route->GetErrorPiece()) || route->GetStatus() == 1)
            if (helpId != -1 && helpId != kHelpRouteQuiet)
                services.PlayHelp(helpId);
    }
}

} // namespace zentrix
