#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class IParticleServices;

/// The values of one particle kind, read from its data file. A kind is valid only when every value is
/// present and sound and its texture id is not 0; the particles per emission are the one value a format
/// may leave out.
class CParticleKind {
public:
    /// Kind types by the text of data id 273.
    static constexpr int kTypePlain = 0;
    static constexpr int kTypeSnow = 1;
    static constexpr int kTypeRingExplode = 2;
    /// The largest pool a kind may ask for; a bigger count makes the kind invalid.
    static constexpr int kMaxParticles = 4096;
    /// The largest magnitude of a float or vector value; a bigger one (or not a number) makes the kind
    /// invalid.
    static constexpr float kMaxValue = 1.0e9f;

    explicit CParticleKind(int id) : m_id(id) {}

    /// Reads every value of the kind from `services`; the result is the valid flag.
    bool Load(IParticleServices& services);

    int GetId() const { return m_id; }
    bool IsValid() const { return m_valid; }

    CVector emitterExtent;
    CVector directionLow;
    CVector directionHigh;
    CVector wobbleAmplitude[2]; ///< late, early
    CVector wobblePhase;        ///< multiples of pi
    CVector wobbleCycles;       ///< multiples of 2 pi over the lifetime
    CVector drift[2];           ///< late, early
    float size[2] = {};         ///< at birth, at death
    float red[4] = {};          ///< birth range [0]-[1], death range [2]-[3]
    float green[4] = {};
    float blue[4] = {};
    float speedLow[2] = {}; ///< at birth, at death
    float speedHigh[2] = {};
    CVector spread;
    float gravity = 0.0f;
    float life[2] = {};
    int particleCount = 0;
    int emitCount[2] = {1, 1}; ///< particles per emission, low and high; 1 when the format lacks them
    float interval[2] = {};
    int groupSize[2] = {};
    int textureId = 0;
    float window[2] = {};
    float defaultLifetime = 0.0f;
    bool opaque = false;
    bool saturate = false;
    int type = kTypePlain;

    /// Whether emission comes in groups (group size [1] is not 0).
    bool HasGroups() const { return groupSize[1] != 0; }

private:
    int m_id;
    bool m_valid = false;
};

} // namespace zentrix
