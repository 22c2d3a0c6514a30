#pragma once

// The race world of the sample set for the stunt pieces, the splats and the jam truck: real cars (60001)
// driven by a scripted driver along a route, particle kinds read from the sample set, the sounds logged.

#include "CarDoubles.h"
#include "TrackDoubles.h"

#include "engine/Frame.h"
#include "foundation/math/Random.h"
#include "render/ParticleSystem.h"
#include "world/CarObject.h"
#include "world/WorldTopography.h"

#include <memory>
#include <string>

namespace worldtest {

/// Particle kinds and their texture from the asset manager, the scene from the engine manager, as the
/// application serves them.
class SampleParticles : public IParticleServices {
public:
    SampleParticles(CAssetMan& assets, CEngineMan& engine) : m_assets(assets), m_engine(engine) {}
    bool GetInt(int a, int d, int& out, int e) override { return m_assets.GetInt(a, d, out, e); }
    bool GetFloat(int a, int d, float& out, int e) override { return m_assets.GetFloat(a, d, out, e); }
    bool GetVector(int a, int d, CVector& out, int e) override { return m_assets.GetVector(a, d, out, e); }
    bool GetString(int a, int d, char* buffer, std::size_t size) override {
        return m_assets.GetString(a, d, buffer, size);
    }
    CTexture* GetTexture(int assetId) override;
    CScene* GetScene() override { return m_engine.GetScene(); }

private:
    CAssetMan& m_assets;
    CEngineMan& m_engine;
};

class PieceWorld : public TrackFixture {
protected:
    static constexpr unsigned kFrameMs = 40;
    static constexpr int kCarAsset = 60001;

    void SetUp() override;
    void TearDown() override;

    /// A track of the sample set read into the grid, its ground built for the race.
    void LoadRoad(const std::string& fileName);
    /// A car of the driver at `at` heading `heading`, old enough to be put back.
    CCarObject* MakeCar(const CVector& at, const CVector& heading = CVector(0, 0, -1));
    /// The first object of a type id.
    static CWorldObject* Find(int typeId);
    /// The race tick's passes.
    static void Tick(unsigned ms = kFrameMs);
    /// How often the driver's car was put back (each respawn reports its taunt).
    int Respawns() const { return driver.resetTaunts; }
    /// How many sounds of the id were played at a place for the slot, once or looping.
    int Played(int soundId, int slot = 0) const;

    /// Made anew for every track read.
    std::unique_ptr<CWorldTopography> ground;
    worldtest::RecordingSounds sounds;
    cartest::ScriptedDriver driver;
    std::unique_ptr<SampleParticles> particles;
};

} // namespace worldtest
