#include "HeadlessRun.h"

#include "engine/Frame.h"
#include "foundation/assets/AssetMan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace worldtest {

CTerrainMapper::NoGroundTexture NoGroundTextures(const CAssetMan& assets) {
    return [&assets](const CTexture* texture) { return assets.GetTextureFlag(texture, 0) != 0; };
}

void TickWorld(unsigned ms) {
    CWorldMan::UpdateObjects(ms);
    CWorldMan::SimulateActiveObjects(ms);
    CWorldMan::CollideObjects(ms);
    CWorldMan::FinishActiveObjects(ms);
}

float AngleTo(const CCarObject& car, const CVector& target) {
    CVector to = target - car.Position();
    to.y = 0;
    to.SafeNormalise();
    CVector d = car.Direction();
    d.y = 0;
    d.SafeNormalise();
    return std::atan2(d.Cross(to).y, d.Dot(to));
}

int SteeringFor(float angle) {
    return std::clamp(static_cast<int>(-angle * 250.0f), -127, 127);
}

std::string PoseLine(std::size_t frame, const CCarObject& car) {
    const CVector p = car.Position();
    const CVector d = car.Direction();
    char line[160];
    std::snprintf(line, sizeof line, "%zu %.4f %.4f %.4f %.4f %.4f %.4f", frame, p.x, p.y, p.z, d.x, d.z,
                  car.GetSpeed());
    return line;
}

void TrackRun::TearDown() {
    CWorldMan::DeleteAllObjects();
    TrackFixture::TearDown();
}

void TrackRun::StartRace(const std::string& fileName) {
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
    ASSERT_TRUE(CWorldMan::LoadTrack(fileName, 5));
    ASSERT_TRUE(ground.Build(CWorldMan::GetWorldFrame(), NoGroundTextures(*assets)));
    Race()->ground = &ground;
    Race()->started = true;
    services.gameState = 15;
    services.sounds = &sounds;
}

} // namespace worldtest
