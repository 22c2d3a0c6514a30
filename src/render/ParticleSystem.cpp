#include "render/ParticleSystem.h"

#include "engine/GeometryBuffer.h"
#include "engine/Scene.h"
#include "engine/Texture.h"
#include "foundation/math/RandomNumbers.h"
#include "foundation/math/VectorHelpers.h"
#include "render/ParticleKind.h"
#include "render/ParticleServices.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zentrix {

namespace {

constexpr float kPi = 3.14159265358979f;
/// Texture flags the blending of a kind sets.
constexpr std::uint32_t kTextureBlended = 0x4;
constexpr std::uint32_t kTextureSaturate = 0x200;

IParticleServices* g_services = nullptr;
bool g_enabled = true;

std::vector<std::unique_ptr<CParticleSystem>>& LiveSystems() {
    static std::vector<std::unique_ptr<CParticleSystem>> systems;
    return systems;
}

std::vector<std::unique_ptr<CParticleKind>>& Kinds() {
    static std::vector<std::unique_ptr<CParticleKind>> kinds;
    return kinds;
}

CScene* Scene() {
    return g_services ? g_services->GetScene() : nullptr;
}

/// One 0..255 channel; values outside 0..1 are held at the ends so they never reach the next channel.
std::uint32_t Channel(float v) {
    const float scaled = v * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    return scaled >= 255.0f ? 255u : static_cast<std::uint32_t>(scaled);
}

std::uint32_t Colour(float r, float g, float b) {
    return 0xFF000000u | Channel(r) << 16 | Channel(g) << 8 | Channel(b);
}

CVector RandomBetween(CVector a, CVector b) {
    const float x = RandomFloatInRange(a.x, b.x);
    const float y = RandomFloatInRange(a.y, b.y);
    const float z = RandomFloatInRange(a.z, b.z);
    return {x, y, z};
}

} // namespace

void CParticleSystem::SetServices(IParticleServices* services) {
    g_services = services;
}

void CParticleSystem::SetEnabled(bool enabled) {
    g_enabled = enabled;
}

bool CParticleSystem::IsEnabled() {
    return g_enabled;
}

bool CParticleSystem::IsAlwaysCreated(int kindId) {
    switch (kindId) {
    case 9019:
    case 9021:
    case 9022:
    case 9041:
    case 9042:
        return true;
    default:
        return false;
    }
}

CParticleSystem* CParticleSystem::Create(int kindId, CVector position, IParticleOwner* owner,
                                         float lifetime) {
    if (!g_enabled && !IsAlwaysCreated(kindId))
        return nullptr;
    if (!g_services)
        return nullptr;
    auto& kinds = Kinds();
    auto found =
        std::find_if(kinds.begin(), kinds.end(), [&](const auto& k) { return k->GetId() == kindId; });
    const CParticleKind* kind = nullptr;
    if (found != kinds.end()) {
        kind = found->get();
    } else {
        auto loaded = std::make_unique<CParticleKind>(kindId);
        if (!loaded->Load(*g_services))
            return nullptr;
        kind = loaded.get();
        kinds.push_back(std::move(loaded));
    }
    if (kind->particleCount == 0)
        return nullptr;
    LiveSystems().push_back(
        std::unique_ptr<CParticleSystem>(new CParticleSystem(kind, position, owner, lifetime)));
    return LiveSystems().back().get();
}

CParticleSystem::CParticleSystem(const CParticleKind* kind, CVector position, IParticleOwner* owner,
                                 float lifetime)
    : m_poolSize(static_cast<std::uint32_t>(kind->particleCount)), m_kind(kind), m_kindValid(true),
      m_owner(owner), m_position(position) {
    ResetEmitter();
    // The texture comes before the buffer so that every vertex starts with it.
    m_texture = g_services ? g_services->GetTexture(kind->textureId) : nullptr;
    if (m_texture) {
        if (!kind->opaque)
            m_texture->SetFlags(m_texture->GetFlags() | kTextureBlended);
        if (kind->saturate)
            m_texture->SetFlags(m_texture->GetFlags() | kTextureSaturate);
    } else {
        m_kindValid = false;
    }
    CreateBuffer();
    m_remainingLifetime = m_initialLifetime = lifetime > 0.0f ? lifetime : kind->defaultLifetime;
}

CParticleSystem::~CParticleSystem() {
    if (m_buffer)
        if (CScene* scene = Scene())
            scene->RemoveFromDecalList(m_buffer.get(), 0);
}

void CParticleSystem::ResetEmitter() {
    m_drift = {};
    m_emitterStart = {};
    m_emitterEnd = m_emitterStart + m_kind->emitterExtent;
    m_direction = RandomBetween(m_kind->directionLow, m_kind->directionHigh);
    m_direction.SafeNormalise();
    m_groupRemaining = 0;
    m_groupOn = m_kind->HasGroups();
}

void CParticleSystem::CreateBuffer() {
    CScene* scene = Scene();
    if (m_buffer && scene)
        scene->RemoveFromDecalList(m_buffer.get(), 0);
    m_buffer = std::make_unique<CGeometryBuffer>();
    m_buffer->Resize(m_poolSize);
    m_buffer->SetCount(0);
    m_particles = std::make_unique<Particle[]>(m_poolSize);
    DecalVertex* vertices = m_buffer->GetVertices();
    for (std::uint32_t i = 0; i < m_poolSize; ++i)
        vertices[i].texture = m_texture;
    if (scene)
        scene->AddToDecalList(m_buffer.get(), 0);
}

void CParticleSystem::UpdateAll(int elapsed) {
    auto& systems = LiveSystems();
    // By index: nothing a system does in its update reaches the list.
    for (std::size_t i = 0; i < systems.size();) {
        systems[i]->Update(elapsed);
        if (systems[i]->IsFinished())
            systems.erase(systems.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

void CParticleSystem::DestroyAll() {
    // Moved out first so that the list is already empty while the systems are deleted.
    auto systems = std::move(LiveSystems());
    LiveSystems().clear();
    systems.clear();
}

bool CParticleSystem::DestroyByOwner(const IParticleOwner* owner) {
    auto& systems = LiveSystems();
    const auto end =
        std::remove_if(systems.begin(), systems.end(), [&](const auto& s) { return s->m_owner == owner; });
    const bool any = end != systems.end();
    systems.erase(end, systems.end());
    return any;
}

bool CParticleSystem::IsAlive(const CParticleSystem* system) {
    const auto& systems = LiveSystems();
    return std::any_of(systems.begin(), systems.end(), [&](const auto& s) { return s.get() == system; });
}

int CParticleSystem::GetLiveCount() {
    return static_cast<int>(LiveSystems().size());
}

void CParticleSystem::FreeKinds() {
    // Every live system points at its kind, so none may outlive the kinds.
    DestroyAll();
    Kinds().clear();
}

void CParticleSystem::Update(int elapsed) {
    if (m_owner && m_owner->IsDead())
        m_remainingLifetime = -1.0f;
    if (!(m_remainingLifetime > 0.0f))
        return;
    const int s = static_cast<int>(static_cast<float>(elapsed) * 0.7f);
    for (std::uint32_t i = 0; i < m_usedCount; ++i)
        StepParticle(m_particles[i], s);
    MoveEmitter();
    m_emissionTimer -= static_cast<float>(s) * 0.04f;
    const float a = m_initialLifetime - m_kind->window[0];
    const float b = m_initialLifetime - m_kind->window[1];
    // The count comes from data: more than the pool would only overwrite what this emission made.
    const int n = std::clamp(RandomIntInRange(m_kind->emitCount[0], m_kind->emitCount[1]), 0,
                             static_cast<int>(m_poolSize));
    if (((b < m_remainingLifetime && m_remainingLifetime < a) || a == b) && m_emissionTimer <= 0.0f)
        for (int i = 0; i < n; ++i)
            Emit();
    m_remainingLifetime -= static_cast<float>(s);
    m_emissionTimer -= static_cast<float>(s);
}

void CParticleSystem::MoveEmitter() {
    const float lifetime = m_kind->defaultLifetime;
    // A kind without a default lifetime would divide by zero; its emitter keeps the early values.
    const float u = lifetime != 0.0f ? (lifetime - m_remainingLifetime) / lifetime : 0.0f;
    const float w = 1.0f - u;
    m_drift += m_kind->drift[0] * u + m_kind->drift[1] * w;
    const float phase[3] = {m_kind->wobblePhase.x, m_kind->wobblePhase.y, m_kind->wobblePhase.z};
    const float cycles[3] = {m_kind->wobbleCycles.x, m_kind->wobbleCycles.y, m_kind->wobbleCycles.z};
    const CVector amplitude = m_kind->wobbleAmplitude[0] * u + m_kind->wobbleAmplitude[1] * w;
    const float amp[3] = {amplitude.x, amplitude.y, amplitude.z};
    float wobble[3];
    for (int k = 0; k < 3; ++k)
        wobble[k] = amp[k] * std::sin(kPi * phase[k] + 2.0f * kPi * w * cycles[k]);
    const CVector start = m_drift + CVector{wobble[0], wobble[1], wobble[2]};
    m_emitterEnd = m_emitterEnd - m_emitterStart + start;
    m_emitterStart = start;
}

void CParticleSystem::Emit() {
    std::uint32_t slot;
    if (m_usedCount < m_poolSize) {
        slot = m_usedCount++;
        m_buffer->SetCount(m_usedCount);
    } else {
        slot = m_ringCursor;
    }
    Particle& p = m_particles[slot];
    DecalVertex& vertex = m_buffer->GetVertices()[slot];
    if (!m_groupOn) {
        InitParticle(p);
        PlaceParticle(p, slot);
    } else if (m_groupRemaining == 0) {
        InitParticle(p);
        PlaceParticle(p, slot);
        m_template = p;
        m_templatePosition = {vertex.x, vertex.y, vertex.z};
        // A group size below 1 from the data makes a group of one, rather than a count below zero that
        // would copy this particle for ever (or overflow).
        m_groupRemaining = std::max(RandomIntInRange(m_kind->groupSize[0], m_kind->groupSize[1]), 1) - 1;
    } else {
        --m_groupRemaining;
        p = m_template;
        PlaceParticle(p, slot);
        vertex.x = m_templatePosition.x;
        vertex.y = m_templatePosition.y;
        vertex.z = m_templatePosition.z;
    }
    m_ringCursor = slot + 1 < m_poolSize ? slot + 1 : 0;
    m_emissionTimer = RandomFloatInRange(m_kind->interval[0], m_kind->interval[1]);
}

void CParticleSystem::InitParticle(Particle& p) {
    const CParticleKind& k = *m_kind;
    p.life = p.totalLife = RandomFloatInRange(k.life[0], k.life[1]);
    p.gravity = k.gravity;
    const CVector half = k.spread * 0.5f;
    p.direction = RandomBetween(m_direction - half, m_direction + half);
    p.direction.SafeNormalise();
    if (m_owner) {
        float rotation[16];
        m_owner->GetWorldRotation(rotation);
        CVector turned;
        TransformByMatrix(p.direction, turned, rotation);
        p.direction = turned;
    }
    for (int i = 0; i < 2; ++i) {
        p.size[i] = k.size[i];
        p.red[i] = RandomFloatInRange(k.red[2 * i], k.red[2 * i + 1]);
        p.green[i] = RandomFloatInRange(k.green[2 * i], k.green[2 * i + 1]);
        p.blue[i] = RandomFloatInRange(k.blue[2 * i], k.blue[2 * i + 1]);
        p.speed[i] = RandomFloatInRange(k.speedLow[i], k.speedHigh[i]);
    }
    // A moving owner throws its particles: its speed goes into the birth speed, once per pass above.
    CVector velocity;
    if (m_owner && m_owner->GetVelocity(velocity))
        p.speed[0] += 2.0f * velocity.Length();
}

void CParticleSystem::PlaceParticle(Particle& p, std::uint32_t slot) {
    p.vertex = slot;
    DecalVertex& v = m_buffer->GetVertices()[slot];
    v.colour = Colour(p.red[0], p.green[0], p.blue[0]);
    v.texture = m_texture;
    v.size = p.size[0];
    CVector point = RandomBetween(m_emitterStart, m_emitterEnd);
    if (m_owner) {
        float matrix[16];
        m_owner->GetWorldMatrix(matrix);
        CVector world;
        TransformByMatrix(point + m_position, world, matrix);
        point = world;
    } else {
        point += m_position;
    }
    v.x = point.x;
    v.y = point.y;
    v.z = point.z;
}

void CParticleSystem::StepParticle(Particle& p, int s) {
    DecalVertex& v = m_buffer->GetVertices()[p.vertex];
    // A particle born without life (a life range at or below 0) must vanish as well, not stay at its
    // birth size until its slot is reused.
    if (!(p.life > 0.0f)) {
        v.size = 0.0f;
        return;
    }
    p.life -= 3.0f * static_cast<float>(s);
    if (!(p.life > 0.0f)) {
        v.size = 0.0f;
        return;
    }
    // life > 0 and life <= total, so total is above 0 here.
    const float u = (p.totalLife - p.life) / p.totalLife;
    const float w = 1.0f - u;
    const float speed = w * p.speed[0] + u * p.speed[1];
    const float oldY = p.direction.y;
    p.direction.y -= p.gravity;
    const float step = speed * (static_cast<float>(s) * 0.1f);
    v.x += p.direction.x * step;
    v.y += oldY * step;
    v.z += p.direction.z * step;
    v.colour =
        Colour(w * p.red[0] + u * p.red[1], w * p.green[0] + u * p.green[1], w * p.blue[0] + u * p.blue[1]);
    v.size = w * p.size[0] + u * p.size[1];
}

} // namespace zentrix
