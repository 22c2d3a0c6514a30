#include "render/ParticleKind.h"

#include "foundation/base/Messages.h"
#include "render/ParticleServices.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace zentrix {

namespace {

/// Reads values one by one and remembers whether any was missing or not a finite number.
class KindReader {
public:
    KindReader(IParticleServices& services, int id) : m_services(services), m_id(id) {}

    void Vector(int dataId, int element, CVector& out) {
        Note(m_services.GetVector(m_id, dataId, out, element) && Finite(out.x) && Finite(out.y) &&
             Finite(out.z));
    }
    void Floats(int dataId, float* out, int count) {
        for (int i = 0; i < count; ++i)
            Note(m_services.GetFloat(m_id, dataId, out[i], i) && Finite(out[i]));
    }
    void Ints(int dataId, int* out, int count) {
        for (int i = 0; i < count; ++i)
            Note(m_services.GetInt(m_id, dataId, out[i], i));
    }
    void Text(int dataId, char* buffer, std::size_t size) {
        buffer[0] = '\0';
        Note(m_services.GetString(m_id, dataId, buffer, size));
        buffer[size - 1] = '\0';
    }
    bool AllPresent() const { return m_ok; }

private:
    // Ranges are drawn as low + unit * (high - low): values this large would overflow to infinity and
    // NaN on the way, so they count as missing (NaN fails the comparison as well).
    static bool Finite(float v) { return std::fabs(v) <= CParticleKind::kMaxValue; }
    void Note(bool ok) { m_ok = m_ok && ok; }

    IParticleServices& m_services;
    int m_id;
    bool m_ok = true;
};

} // namespace

bool CParticleKind::Load(IParticleServices& services) {
    KindReader r(services, m_id);
    r.Vector(250, 0, emitterExtent);
    r.Vector(251, 0, directionLow);
    r.Vector(252, 0, directionHigh);
    r.Vector(253, 0, wobbleAmplitude[0]);
    r.Vector(253, 1, wobbleAmplitude[1]);
    r.Vector(254, 0, wobblePhase);
    r.Vector(255, 0, wobbleCycles);
    r.Vector(256, 0, drift[0]);
    r.Vector(256, 1, drift[1]);
    r.Floats(257, size, 2);
    r.Floats(258, red, 4);
    r.Floats(259, green, 4);
    r.Floats(260, blue, 4);
    r.Floats(261, speedLow, 2);
    r.Floats(262, speedHigh, 2);
    r.Vector(263, 0, spread);
    r.Floats(264, &gravity, 1);
    r.Floats(265, life, 2);
    r.Ints(266, &particleCount, 1);
    r.Floats(267, interval, 2);
    r.Ints(268, groupSize, 2);
    r.Ints(269, &textureId, 1);
    r.Floats(270, window, 2);
    r.Floats(271, &defaultLifetime, 1);
    // Older formats have no count per emission: one particle at a time.
    int count[2] = {1, 1};
    if (services.GetInt(m_id, 274, count[0], 0) && services.GetInt(m_id, 274, count[1], 1)) {
        emitCount[0] = count[0];
        emitCount[1] = count[1];
    }

    char text[1024];
    r.Text(272, text, sizeof text);
    opaque = std::strstr(text, "opaque") != nullptr;
    saturate = std::strstr(text, "saturate") != nullptr;
    r.Text(273, text, sizeof text);
    type = std::strstr(text, "snow")          ? kTypeSnow
           : std::strstr(text, "ringexplode") ? kTypeRingExplode
                                              : kTypePlain;

    m_valid = r.AllPresent() && textureId != 0;
    // The pool is allocated from this count, so a count from a damaged file must stay small.
    if (m_valid && (particleCount < 0 || particleCount > kMaxParticles)) {
        TraceMessage("Particle kind %d: particle count %d outside 0..%d\n", m_id, particleCount,
                     kMaxParticles);
        m_valid = false;
    }
    return m_valid;
}

} // namespace zentrix
