#include "world/TimedDeathTrackObject.h"

#include "render/ParticleSystem.h"
#include "world/BoundingVolume.h"
#include "world/CarObject.h"
#include "world/WorldSounds.h"

#include <vector>

namespace zentrix {

namespace {

constexpr int kIce = 1;

} // namespace

const CTimedDeathTrackObject::STheme& CTimedDeathTrackObject::ThemeOf(int theme) {
    static const STheme kThemes[4] = {
        {4500, 1000, 6.5f, 9.5f, 51168, -1},
        {2500, 3000, 0.0f, 0.0f, -1, -1},
        {4300, 1200, 6.5f, 9.9f, 51168, 51164},
        {4700, 800, 7.5f, 9.5f, 51167, -1},
    };
    return kThemes[theme >= 0 && theme < 4 ? theme : 0];
}

CTimedDeathTrackObject::CTimedDeathTrackObject(int typeId) : CStuntTrackObject(typeId) {}

CTimedDeathTrackObject::~CTimedDeathTrackObject() = default;

bool CTimedDeathTrackObject::Create() {
    const bool made = CTrackObject::Create();
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kSphere;
    desc.sizes[0] = kSphereRadius;
    m_sphere = MakeStuntVolume(desc, CVector());
    m_theme = CurrentTheme();
    const STheme& theme = ThemeOf(m_theme);
    m_quietMs = theme.quietMs;
    m_deadlyMs = theme.deadlyMs;
    m_windowStart = theme.windowStart;
    m_windowEnd = theme.windowEnd;
    SelectAnimation(kIdleAnimation);
    SetAnimPlaying(true);
    return made;
}

void CTimedDeathTrackObject::Destroy() {
    m_sphere.reset();
    CStuntTrackObject::Destroy();
}

void CTimedDeathTrackObject::Update(unsigned ms) {
    CTrackObject::Update(ms);
    if (IsRacePaused() || !m_sphere)
        return;
    m_elapsedMs += ms;
    if (!m_deadly && m_elapsedMs > m_quietMs) {
        m_deadly = true;
        m_elapsedMs = 0;
        Activate();
    } else if (m_deadly && m_elapsedMs > m_deadlyMs) {
        m_deadly = false;
        m_elapsedMs = 0;
        Deactivate();
    }
    std::vector<CCarObject*> cars;
    FindCarObjectsIn(*m_sphere, cars);
    for (CCarObject* car : cars) {
        ReportTaunt(car, kTaunt);
        const float frame = GetAnimFrame();
        const bool kill = m_theme == kIce ? m_deadly : frame > m_windowStart && frame < m_windowEnd;
        if (kill)
            KillCar(*car);
    }
}

void CTimedDeathTrackObject::Activate() {
    SelectAnimation(kDeadlyAnimation);
    SetAnimPlaying(true);
    if (m_theme == kIce) {
        const float life = static_cast<float>(m_deadlyMs - kParticleShortfallMs);
        CParticleSystem::Create(kIceParticlesLeft, CVector(-12.0f, 6.0f, 0.0f), this, life);
        CParticleSystem::Create(kIceParticlesRight, CVector(12.0f, 6.0f, 0.0f), this, life);
    }
    const int sound = ThemeOf(m_theme).activationSound;
    if (sound != -1)
        if (IWorldSounds* sounds = Sounds())
            sounds->PlaySoundAt(sound, Position(), false, 0);
}

void CTimedDeathTrackObject::KillCar(CCarObject& car) const {
    const int sound = ThemeOf(m_theme).killSound;
    if (sound != -1)
        if (IWorldSounds* sounds = Sounds())
            sounds->PlaySoundAt(sound, Position(), false, car.GetDriverSlot());
    if (!car.IsCollisionPaused())
        car.Respawn(-1);
}

} // namespace zentrix
