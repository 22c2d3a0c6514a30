#include "PieceFixture.h"

#include "HeadlessRun.h"

#include "render/assets/TextureAsset.h"

#include <algorithm>

namespace worldtest {

CTexture* SampleParticles::GetTexture(int assetId) {
    CTextureAsset* texture = m_assets.GetListedTexture(assetId);
    return texture ? texture->GetEngineTexture() : nullptr;
}

void PieceWorld::SetUp() {
    TrackFixture::SetUp();
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
    particles = std::make_unique<SampleParticles>(*assets, *engine);
    CParticleSystem::SetServices(particles.get());
    Race()->started = true;
    services.gameState = 15;
    services.sounds = &sounds;
    Random::Seed(7);
    // A straight route down the second column of cells, towards -z.
    for (int z = 6; z >= 0; --z)
        driver.route.push_back(CVector(-68.0f, 0.0f, 32.0f * static_cast<float>(z) - 100.0f));
}

void PieceWorld::TearDown() {
    CWorldMan::DeleteAllObjects();
    CParticleSystem::DestroyAll();
    CParticleSystem::SetServices(nullptr);
    Race()->ground = nullptr;
    TrackFixture::TearDown();
}

void PieceWorld::LoadRoad(const std::string& fileName) {
    ASSERT_TRUE(CWorldMan::LoadTrack(fileName, 5));
    Race()->ground = nullptr;
    ground = std::make_unique<CWorldTopography>();
    ASSERT_TRUE(ground->Build(CWorldMan::GetWorldFrame(), NoGroundTextures(*assets)));
    Race()->ground = ground.get();
}

CCarObject* PieceWorld::MakeCar(const CVector& at, const CVector& heading) {
    auto* car = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(kCarAsset, at.x, at.y, at.z, -1));
    if (!car)
        return nullptr;
    car->Reorient(heading, kUpVector);
    car->AssignDriver(&driver);
    // Cars are not put back in their first 200 ms.
    const CVector kept = car->Position();
    for (int i = 0; i < 5; ++i)
        car->Update(kFrameMs);
    car->SetPositionVector(kept);
    car->SetVelocity(CVector());
    return car;
}

CWorldObject* PieceWorld::Find(int typeId) {
    for (const auto& object : CWorldMan::GetObjectList())
        if (object && object->GetTypeId() == typeId)
            return object.get();
    return nullptr;
}

void PieceWorld::Tick(unsigned ms) {
    TickWorld(ms);
}

int PieceWorld::Played(int soundId, int slot) const {
    const std::string head = "at " + std::to_string(soundId) + " ";
    const std::string tail = " slot " + std::to_string(slot);
    return static_cast<int>(
        std::count_if(sounds.played.begin(), sounds.played.end(), [&](const std::string& e) {
            return e.rfind(head, 0) == 0 && e.size() >= tail.size() &&
                   e.compare(e.size() - tail.size(), tail.size(), tail) == 0;
        }));
}

} // namespace worldtest
