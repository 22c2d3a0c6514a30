#include "world/JamTruck.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/math/RandomNumbers.h"
#include "foundation/math/Rotation.h"
#include "render/ParticleSystem.h"
#include "world/RaceWorldLink.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <cmath>
#include <numbers>

namespace zentrix {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
const CVector kRollAxis(0.0f, 0.0f, -1.0f);

bool IsRacePaused() {
    const IRaceWorldLink* race = CWorldMan::GetRaceWorld();
    return race && race->IsPaused();
}

int CurrentTheme() {
    IWorldServices* services = CWorldMan::GetServices();
    const CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    return assets ? assets->GetWorld() : 0;
}

IWorldSounds* WorldSounds() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetSounds() : nullptr;
}

} // namespace

const CJamTruck::STheme& CJamTruck::ThemeOf(int theme) {
    static const STheme kThemes[4] = {
        {12203, 51089, 60558, 60559},
        {12202, 51089, kBodyTextureA, kBodyTextureB},
        {12200, 51084, 60516, 60556},
        {12201, 51087, 60517, 60557},
    };
    return kThemes[theme >= 0 && theme < 4 ? theme : 0];
}

CJamTruck::CJamTruck(int assetId) : CCarObject(assetId) {}

CJamTruck::~CJamTruck() = default;

bool CJamTruck::Init() {
    const bool made = CCarObject::Init();
    m_phase = kDriving;
    m_phaseMs = 0;
    SetCollisionPause(kStartPauseMs);
    const STheme& theme = ThemeOf(CurrentTheme());
    if (theme.textureA != kBodyTextureA)
        ReplaceTexture(kBodyTextureA, theme.textureA);
    if (theme.textureB != kBodyTextureB)
        ReplaceTexture(kBodyTextureB, theme.textureB);
    return made;
}

void CJamTruck::Update(unsigned ms) {
    CCarObject::Update(ms);
    if (IsRacePaused())
        return;
    m_phaseMs += ms;
    AdvancePhase();
    if (m_phase == kDriving)
        AnimateDriving();
    else if (m_phase == kTipping)
        AnimateTipping();
    else if (m_phase == kLying)
        AnimateLyingOnSide();
    m_smokeMs += ms;
    if (m_smokeMs > m_smokeIntervalMs) {
        for (int i = 0; i < kSmokePuffs; ++i)
            CParticleSystem::Create(kSmokeParticles, Position(), nullptr, -1.0f);
        m_smokeMs = 0;
        m_smokeIntervalMs =
            static_cast<std::uint32_t>(RandomIntInRange(kLeastSmokeIntervalMs, kMostSmokeIntervalMs));
    }
}

void CJamTruck::RecordCollision(const CVector&, float, int, CWorldObject*) {
    if (m_phase != kDriving)
        return;
    m_phase = kTipping;
    m_phaseMs = 0;
}

void CJamTruck::AdvancePhase() {
    if (m_phase >= kDriving && m_phase <= kLying && m_phaseMs > kPhaseMs[static_cast<std::size_t>(m_phase)]) {
        if (m_phase == kTipping)
            DropCargo();
        m_phase = m_phase == kLying ? kEnded : m_phase + 1;
        m_phaseMs = 0;
    }
    if (m_phase == kEnded) {
        if (IRaceWorldLink* race = CWorldMan::GetRaceWorld())
            race->RemoveJamTruck(this);
        SetDead();
    }
}

void CJamTruck::DropCargo() {
    const STheme& theme = ThemeOf(CurrentTheme());
    const CVector at = Position();
    CWorldMan::CreateWorldObject(theme.cargo, at.x, at.y, at.z, kCargoLifeMs);
    if (IWorldSounds* sounds = WorldSounds())
        sounds->PlaySoundAt(theme.dropSound, at, false, 0);
    SetCollisionPause(kDropPauseMs);
}

void CJamTruck::AnimateDriving() {
    ResetBodyPivot();
    CWorldObject* body = GetBody();
    if (!body)
        return;
    const float top = GetTopSpeed();
    const float r = top > 0.0f ? GetSpeed() / top : 0.0f;
    const float turn = 2.0f * kPi * static_cast<float>(m_phaseMs) / kBobPeriodMs;
    const float lift = std::sin(turn) * r * kBobHeight;
    const float roll = std::sin(turn * 0.25f) * r * kPi / 12.0f;
    body->SetOrientation(kRollAxis, kUpVector);
    CVector up;
    RotateVectorAboutAxis(kUpVector, up, kRollAxis, roll);
    up.SafeNormalise();
    body->SetPositionVector(CVector(0.0f, lift, 0.0f));
    body->SetOrientation(kRollAxis, up);
}

void CJamTruck::RollPivot(float angle) {
    ResetBodyPivot();
    CWorldObject* pivot = GetBodyPivot();
    if (!pivot)
        return;
    CVector up;
    RotateVectorAboutAxis(kUpVector, up, kRollAxis, angle);
    up.SafeNormalise();
    pivot->SetPositionVector(CVector());
    pivot->SetOrientation(kRollAxis, up);
}

void CJamTruck::AnimateTipping() {
    RollPivot(static_cast<float>(m_phaseMs) / static_cast<float>(kPhaseMs[kTipping]) * kPi / 2.0f);
}

void CJamTruck::AnimateLyingOnSide() {
    RollPivot(kPi / 2.0f);
    SetVelocity(CVector());
}

} // namespace zentrix
