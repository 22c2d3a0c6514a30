// The world registry's tick passes and collision tests.

#include "world/ActiveWorldObject.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldObject.h"

#include <cmath>
#include <cstdint>
#include <iterator>

namespace zentrix {

namespace {

/// The probes round an object, half a tile away, in the order they are tried.
struct SProbe {
    float dx, dz;
};
constexpr SProbe kProbes[] = {{0, 16},  {16, 16},   {16, 0},  {16, -16},
                              {0, -16}, {-16, -16}, {-16, 0}, {-16, 16}};

/// A cell coordinate as WorldToGrid gives it, truncated; none for -1 and anything that is no index.
std::uint32_t CellIndex(float cell) {
    if (!(cell >= 0.0f && cell < 65536.0f))
        return CWorldGrid::kNoIndex;
    return static_cast<std::uint32_t>(cell);
}

} // namespace

// The walks below take each list's next element only after the call returns, and objects join the lists
// at their ends: an object made during a pass (a spawn, a dropped pickup) is met later in the same pass.
// Objects leave through their dead flag, between passes.

void CWorldMan::UpdateObjects(unsigned ms) {
    const TObjectList& objects = GetObjectList();
    for (auto it = objects.begin(); it != objects.end(); ++it)
        if (*it)
            (*it)->Update(ms);
    if (CWorldObject* plate = GetBasePlate()) {
        plate->SetAnimPlaying(true);
        plate->Update(ms);
    }
}

void CWorldMan::SimulateActiveObjects(unsigned ms) {
    const TActiveList& active = GetActiveList();
    for (auto it = active.begin(); it != active.end(); ++it)
        if (*it)
            (*it)->SimulateStep(ms);
}

void CWorldMan::FinishActiveObjects(unsigned ms) {
    const TActiveList& active = GetActiveList();
    for (auto it = active.begin(); it != active.end(); ++it)
        if (*it)
            (*it)->FinishStep(ms);
}

void CWorldMan::CollideObjects(unsigned ms) {
    const TObjectList& objects = GetObjectList();
    for (auto it = objects.begin(); it != objects.end(); ++it)
        if (*it)
            (*it)->CheckTrackCollision(ms);
    CollideActiveWithPieces();
    CollideActivePairs();
}

void CWorldMan::CollideActiveWithPieces() {
    const TActiveList& active = GetActiveList();
    for (auto it = active.begin(); it != active.end(); ++it)
        if (*it)
            CollideWithNearbyPieces(**it);
}

CWorldObject* CWorldMan::PieceUnder(const CVector& position) {
    const CWorldGrid* grid = GetWorldGrid();
    if (!grid)
        return nullptr;
    const CVector cell = CWorldGrid::WorldToGrid(position);
    return grid->GetPieceAt(CellIndex(cell.x), CellIndex(cell.z));
}

bool CWorldMan::CollideWithNearbyPieces(CActiveWorldObject& object) {
    CWorldObject* under = PieceUnder(object.Position());
    if (under && CollidePair(object, *under))
        return true;
    // A piece found by two probes is tried twice; the piece under the object is not tried again.
    for (const SProbe& probe : kProbes) {
        CVector p = object.Position();
        p.x += probe.dx;
        p.z += probe.dz;
        CWorldObject* piece = PieceUnder(p);
        if (piece && piece != under && CollidePair(object, *piece))
            return true;
    }
    return false;
}

bool CWorldMan::CollidePair(CWorldObject& object, CWorldObject& other) {
    if (!CWorldObject::BoundingVolumesIntersect(object, other))
        return false;
    const CVector v = object.Position() - other.Position();
    object.OnCollision(v, CWorldObject::kCollisionPiece, &other);
    other.OnCollision(v * -1.0f, object.GetCollisionKind(), &object);
    return true;
}

void CWorldMan::CollideActivePairs() {
    const TActiveList& active = GetActiveList();
    for (auto a = active.begin(); a != active.end(); ++a) {
        if (!*a)
            continue;
        for (auto b = std::next(a); b != active.end(); ++b) {
            if (!*b || !CWorldObject::BoundingVolumesIntersect(**a, **b))
                continue;
            const CVector v = (*a)->Position() - (*b)->Position();
            (*a)->OnCollision(v, CWorldObject::kCollisionObject, *b);
            (*b)->OnCollision(v * -1.0f, CWorldObject::kCollisionObject, *a);
        }
    }
}

void CWorldMan::GetActiveObjectsIn(const CWorldObject* excluded, CBoundingVolume& volume,
                                   std::vector<CWorldObject*>& out) {
    out.clear();
    for (CActiveWorldObject* object : GetActiveList())
        if (object && object != excluded && CWorldObject::VolumesMeet(*object, volume))
            out.push_back(object);
}

} // namespace zentrix
