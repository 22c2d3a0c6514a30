#include "world/TopographyFollower.h"

#include "world/TopographyWorld.h"
#include "world/WorldTopography.h"

namespace zentrix {

namespace {

ITopographyWorld* g_world = nullptr;

/// The race world's terrain when a race world is current and has one.
const CWorldTopography* RaceTopography() {
    if (!g_world || !ITopographyWorld::IsRaceWorld(g_world->GetCurrentWorldId()))
        return nullptr;
    return g_world->GetTopography();
}

} // namespace

void CTopographyFollower::SetWorld(ITopographyWorld* world) {
    g_world = world;
}

ITopographyWorld* CTopographyFollower::GetWorld() {
    return g_world;
}

float CTopographyFollower::GetGroundHeight(float x, float z, CVector* normal) {
    if (!g_world || !ITopographyWorld::IsRaceWorld(g_world->GetCurrentWorldId()))
        return 0.0f;
    CVector minimum, maximum;
    g_world->GetGridBounds(minimum, maximum);
    if (x <= minimum.x || x >= maximum.x || z <= minimum.z || z >= maximum.z)
        return kOffWorld;
    // A race world without terrain (its track did not load) answers as off the terrain grid.
    const CWorldTopography* topography = g_world->GetTopography();
    if (!topography)
        return CWorldTopography::kOffGrid;
    return topography->GetHeight(x, z, &m_groundHint, normal);
}

CVector CTopographyFollower::GetGroundNormal(float x, float z) {
    const CWorldTopography* topography = RaceTopography();
    return topography ? topography->GetNormal(x, z, m_groundHint) : kUpVector;
}

} // namespace zentrix
