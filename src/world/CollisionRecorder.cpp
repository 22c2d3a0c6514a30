#include "world/CollisionRecorder.h"

#include <algorithm>

namespace zentrix {

bool CCollisionRecorder::Init() {
    Reset();
    m_current.Init();
    m_previous.Init();
    m_frequencyEnabled = false;
    m_initialised = true;
    m_persistence.fill(0);
    m_responseDirection.Zero();
    return true;
}

void CCollisionRecorder::Reset() {
    m_initialised = false;
    m_current.Reset();
    m_previous.Reset();
    m_frequencyEnabled = false;
    m_frequency.Reset();
}

void CCollisionRecorder::Record(const CVector& vector, float response, std::int32_t kind,
                                CWorldObject* other) {
    m_current.Add(vector, response, kind, other);
}

void CCollisionRecorder::NewFrame() {
    if (m_frequencyEnabled)
        m_frequency.Record(m_current.GetCount() != 0 ? 1 : 0);
    const auto old = m_persistence;
    const std::uint32_t n = m_current.GetCount();
    const std::uint32_t stored = std::min(n, CCollisionLog::kStored);
    const std::uint32_t previousStored = std::min(m_previous.GetCount(), CCollisionLog::kStored);
    // An entry without a match keeps whatever its index held: only matches carry a count on.
    for (std::uint32_t i = 0; i < stored; ++i) {
        SContactEntry now;
        m_current.Get(i, now);
        for (std::uint32_t j = 0; j < previousStored; ++j) {
            SContactEntry before;
            m_previous.Get(j, before);
            if (CCollisionLog::EntriesMatch(now, before))
                m_persistence[i] = old[j] + 1;
        }
    }
    m_previous.CopyFrom(m_current);
    for (std::uint32_t k = n; k < CCollisionLog::kStored; ++k)
        m_persistence[k] = 0;
    m_current.Clear();
}

void CCollisionRecorder::EnableFrequencyLog(bool on) {
    m_frequency.Reset();
    if (on)
        m_frequency.Init();
    m_frequencyEnabled = on;
}

bool CCollisionRecorder::FindCurrentContact(std::int32_t kind, SContactEntry& out) const {
    std::uint32_t index = 0;
    return m_current.FindKind(kind, index, out);
}

bool CCollisionRecorder::FindContact(std::int32_t kind, SContactEntry& out,
                                     std::uint32_t& persistence) const {
    std::uint32_t index = 0;
    if (!m_previous.FindKind(kind, index, out)) {
        persistence = 0;
        return false;
    }
    persistence = m_persistence[index];
    return true;
}

bool CCollisionRecorder::GetMaxPersistence(std::int32_t kind, std::uint32_t& max) const {
    bool any = false;
    max = 0;
    for (std::uint32_t i = 0; i < CCollisionLog::kStored; ++i)
        if (m_previous.GetKind(i) == kind) {
            any = true;
            max = std::max(max, m_persistence[i]);
        }
    return any;
}

bool CCollisionRecorder::GetResponseDirection(CVector& out) const {
    out = m_responseDirection;
    return !m_responseDirection.IsZero();
}

void CCollisionRecorder::ForgetObject(const CWorldObject* object) {
    m_current.ForgetObject(object);
    m_previous.ForgetObject(object);
}

} // namespace zentrix
