#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>
#include <memory>

namespace zentrix {

class CGeometryBuffer;
class CParticleKind;
class CTexture;
class IParticleOwner;
class IParticleServices;

/// Smoke, sparks, snow and explosion rings: a pool of particles of one kind, emitted from a moving
/// emitter at a world position (or in the space of the object it is attached to) for a lifetime, and
/// drawn as one geometry buffer of billboards in the scene's decal list 0. The live systems and the
/// loaded kinds are kept in lists of this class.
class CParticleSystem {
public:
    /// One pool slot.
    struct Particle {
        std::uint32_t vertex = 0; ///< index of its vertex in the buffer
        CVector direction;
        float red[2] = {}; ///< at birth, at death
        float green[2] = {};
        float blue[2] = {};
        float size[2] = {};
        float speed[2] = {};
        float life = 0.0f;
        float totalLife = 0.0f;
        float gravity = 0.0f;
    };

    virtual ~CParticleSystem();
    CParticleSystem(const CParticleSystem&) = delete;
    CParticleSystem& operator=(const CParticleSystem&) = delete;

    /// Installs what the systems read of the program (null: nothing can be created).
    static void SetServices(IParticleServices* services);
    /// A new live system of kind `kindId` at `position` (in the owner's space when an owner is given);
    /// a lifetime <= 0 takes the kind's default. Null when creation is off for the kind, or the kind is
    /// missing, unsound or has no particles.
    static CParticleSystem* Create(int kindId, CVector position, IParticleOwner* owner, float lifetime);
    /// Advances every live system and deletes those that have finished.
    static void UpdateAll(int elapsed);
    /// Deletes every live system.
    static void DestroyAll();
    /// Deletes every system attached to `owner`; true when any was deleted.
    static bool DestroyByOwner(const IParticleOwner* owner);
    /// Whether `system` is live.
    static bool IsAlive(const CParticleSystem* system);
    /// How many systems are live.
    static int GetLiveCount();
    /// Deletes every loaded kind, and with them every live system.
    static void FreeKinds();
    /// Turns creation on or off for all but the always-created kinds.
    static void SetEnabled(bool enabled);
    static bool IsEnabled();
    /// The kinds created even while creation is off.
    static bool IsAlwaysCreated(int kindId);

    /// Advances the particles and the emitter by `elapsed`, emitting inside the emission window.
    void Update(int elapsed);
    /// Ends the system at its next update.
    void Expire() { m_remainingLifetime = 0.0f; }
    bool IsFinished() const { return m_remainingLifetime <= 0.0f; }

    float GetRemainingLifetime() const { return m_remainingLifetime; }
    float GetEmissionTimer() const { return m_emissionTimer; }
    const CParticleKind* GetKind() const { return m_kind; }
    bool IsKindValid() const { return m_kindValid; }
    CTexture* GetTexture() const { return m_texture; }
    CGeometryBuffer* GetBuffer() const { return m_buffer.get(); }
    std::uint32_t GetUsedCount() const { return m_usedCount; }
    std::uint32_t GetPoolSize() const { return m_poolSize; }
    std::uint32_t GetRingCursor() const { return m_ringCursor; }
    const Particle& GetParticle(std::uint32_t i) const { return m_particles[i]; }
    CVector GetEmitterStart() const { return m_emitterStart; }
    CVector GetEmitterEnd() const { return m_emitterEnd; }
    CVector GetDirection() const { return m_direction; }

private:
    CParticleSystem(const CParticleKind* kind, CVector position, IParticleOwner* owner, float lifetime);

    void ResetEmitter();
    void CreateBuffer();
    void MoveEmitter();
    void Emit();
    void InitParticle(Particle& p);
    void PlaceParticle(Particle& p, std::uint32_t slot);
    void StepParticle(Particle& p, int s);

    std::unique_ptr<CGeometryBuffer> m_buffer;
    std::unique_ptr<Particle[]> m_particles;
    std::uint32_t m_usedCount = 0;
    std::uint32_t m_poolSize = 0;
    std::uint32_t m_ringCursor = 0;
    float m_remainingLifetime = 0.0f;
    float m_initialLifetime = 0.0f;
    float m_emissionTimer = 0.0f;
    CVector m_drift;
    CVector m_emitterStart;
    CVector m_emitterEnd;
    CVector m_direction;
    int m_groupRemaining = 0;
    bool m_groupOn = false;
    Particle m_template;
    CVector m_templatePosition;
    const CParticleKind* m_kind;
    bool m_kindValid = false;
    CTexture* m_texture = nullptr;
    IParticleOwner* m_owner;
    CVector m_position;
};

} // namespace zentrix
