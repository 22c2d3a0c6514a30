#include "world/WorldTopography.h"

namespace zentrix {

bool CWorldTopography::GetTriangleHeight(float x, float z, const TerrainTriangle& t, float& height) {
    if (!IsInsideTriangle(x, z, t))
        return false;
    height = t.PlaneHeight(x, z);
    return true;
}

const TerrainTriangle* CWorldTopography::FindHighest(float x, float z, float floor, float& height) const {
    const TerrainTriangle* found = nullptr;
    height = floor;
    // Strictly higher only: of two triangles at the same height the one met first (the newest) stays.
    for (const TerrainTriangle* t = GetCell(XToCell(x), ZToCell(z)); t; t = t->next) {
        float h = 0.0f;
        if (GetTriangleHeight(x, z, *t, h) && h > height) {
            height = h;
            found = t;
        }
    }
    return found;
}

float CWorldTopography::GetHeight(float x, float z, CGroundHint* hint, CVector* normal) const {
    if (hint) {
        if (const TerrainTriangle* held = hint->Get(GetGeneration())) {
            float h = 0.0f;
            if (GetTriangleHeight(x, z, *held, h)) {
                if (normal)
                    *normal = held->normal;
                return h;
            }
        }
    }
    if (IsOutsideGrid(x, z))
        return kOffGrid;
    float best = kNoGround;
    const TerrainTriangle* found = FindHighest(x, z, kNoGround, best);
    if (normal)
        *normal = found ? found->normal : kUpVector;
    if (hint)
        hint->Set(found, GetGeneration());
    return best;
}

CVector CWorldTopography::GetNormal(float x, float z, CGroundHint& hint) const {
    if (const TerrainTriangle* held = hint.Get(GetGeneration()))
        if (IsInsideTriangle(x, z, *held))
            return held->normal;
    if (IsOutsideGrid(x, z))
        return kUpVector;
    const TerrainTriangle* found = FindHighestTriangle(x, z);
    hint.Set(found, GetGeneration());
    return found ? found->normal : kUpVector;
}

const TerrainTriangle* CWorldTopography::FindHighestTriangle(float x, float z) const {
    float height = 0.0f;
    return FindHighest(x, z, 0.0f, height);
}

} // namespace zentrix
