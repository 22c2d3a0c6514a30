#include "construct/CursorMode.h"

#include "construct/ConstructServices.h"
#include "foundation/base/EventMan.h"
#include "render/EngineMan.h"
#include "world/WorldGrid.h"

#include <cmath>

namespace zentrix {

namespace {

constexpr int kMsgShowPointer = 4;
/// The half width and half height of the view 100 units ahead of the camera.
constexpr float kHalfViewWidth = 33.0f;
constexpr float kHalfViewHeight = 24.0f;
constexpr float kRayLength = 100.0f;
constexpr float kHalfTile = CWorldGrid::kTileSize / 2.0f;

} // namespace

void CWorldConstructMan::CCursorMode::Activate() {
    m_active = true;
    if (CEventMan* events = m_owner->GetConstructServices().GetEventMan())
        events->PostMessage(kMsgShowPointer);
}

void CWorldConstructMan::CCursorMode::SetPointerId(int id) {
    m_pointerId = id;
    if (CEventMan* events = m_owner->GetConstructServices().GetEventMan())
        events->SetPointerMessage(id);
}

CWorldGrid* CWorldConstructMan::CCursorMode::Grid() {
    return CWorldMan::GetWorldGrid();
}

std::uint32_t CWorldConstructMan::CCursorMode::CellIndex(float cell) {
    return cell < 0.0f || !std::isfinite(cell) ? CWorldGrid::kNoIndex : static_cast<std::uint32_t>(cell);
}

CVector CWorldConstructMan::CCursorMode::GetPointUnderMouse() const {
    IConstructServices& services = m_owner->GetConstructServices();
    CEngineMan* engine = services.GetEngineMan();
    if (!engine)
        return CVector();
    const CVector position = engine->GetCameraPosition();
    const CVector direction = engine->GetCameraDirection();
    const CVector up = engine->GetCameraUp();
    const CVector side = direction.Cross(up);
    const float w = static_cast<float>(services.GetScreenWidth()) / 2.0f;
    const float h = static_cast<float>(services.GetScreenHeight()) / 2.0f;
    if (w <= 0.0f || h <= 0.0f)
        return CVector();
    const float a = (w - static_cast<float>(services.GetMouseX())) * kHalfViewWidth / w;
    const float b = (h - static_cast<float>(services.GetMouseY())) * kHalfViewHeight / h;
    const CVector target = position + direction * kRayLength + side * a + up * b;
    const CVector ray = target - position;
    // A ray that never comes down to the ground points at the camera's own spot.
    if (ray.y == 0.0f)
        return CVector(position.x, 0.0f, position.z);
    CVector answer = ray.ProjectToHeight(position, 0.0f);
    const CWorldGrid* grid = Grid();
    if (!grid)
        return answer;
    for (std::uint32_t i = 0; i < grid->GetSizeX(); ++i)
        for (std::uint32_t j = 0; j < grid->GetSizeZ(); ++j) {
            const float height = grid->GetCellHeight(i, j);
            if (!(height > answer.y))
                continue;
            const CVector point = ray.ProjectToHeight(position, height);
            // The cell's own square: its centre plus or minus half a tile.
            const float cx = CWorldGrid::IndexToWorldX(i);
            const float cz = CWorldGrid::IndexToWorldZ(j);
            if (point.IsInsideXZ(cx - kHalfTile, cz - kHalfTile, cx + kHalfTile, cz + kHalfTile))
                answer = point;
        }
    return answer;
}

CVector CWorldConstructMan::CCursorMode::SnapToTile(const CVector& point) {
    return CWorldGrid::GridToWorld(CWorldGrid::WorldToGrid(point));
}

} // namespace zentrix
