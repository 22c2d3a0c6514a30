#pragma once

#include "foundation/math/Vector.h"
#include "world/CollisionFrequencyLog.h"
#include "world/CollisionLog.h"

#include <array>
#include <cstdint>

namespace zentrix {

class CWorldObject;

/// What a world object remembers of its collisions: the contacts of this tick, those of the tick
/// before with how many ticks in a row each has lasted, the direction of the last collision response,
/// and, for active objects, which of the last twenty ticks had a contact. Every world object owns one.
class CCollisionRecorder {
public:
    CCollisionRecorder() = default;
    virtual ~CCollisionRecorder() { Reset(); }
    CCollisionRecorder(const CCollisionRecorder&) = delete;
    CCollisionRecorder& operator=(const CCollisionRecorder&) = delete;

    /// Empty logs, no persistence, no response direction, frequency logging off; true.
    bool Init();
    /// Not initialised; logs and frequency ring reset.
    void Reset();
    /// Keeps a contact of this tick.
    void Record(const CVector& vector, float response, std::int32_t kind, CWorldObject* other);
    /// The start of a simulation step: the last tick's contacts become the tick before's, each with the
    /// number of further ticks without a gap in which a matching contact was kept; this tick starts
    /// empty. With frequency logging on, the ring records whether the last tick had any contact.
    void NewFrame();
    /// Frequency logging from a fresh ring (on) or none (off).
    void EnableFrequencyLog(bool on);
    float GetCollisionFrequency() const { return m_frequency.GetFrequency(); }
    void ClearFrequencyLog() { m_frequency.Clear(); }

    std::uint32_t GetCurrentCount() const { return m_current.GetCount(); }
    bool GetCurrentContact(std::uint32_t i, SContactEntry& out) const { return m_current.Get(i, out); }
    /// The first contact of the kind in this tick.
    bool FindCurrentContact(std::int32_t kind, SContactEntry& out) const;
    /// The first contact of the kind in the tick before, and how long it has lasted (0 when none).
    bool FindContact(std::int32_t kind, SContactEntry& out, std::uint32_t& persistence) const;
    std::uint32_t CountPreviousContacts(std::int32_t kind) const { return m_previous.CountKind(kind); }
    /// The longest lasting contact of the kind in the tick before; false (max 0) when there is none.
    bool GetMaxPersistence(std::int32_t kind, std::uint32_t& max) const;
    std::uint32_t GetPreviousCount() const { return m_previous.GetCount(); }
    bool GetPreviousContact(std::uint32_t i, SContactEntry& out) const { return m_previous.Get(i, out); }
    void FindAllPreviousContacts(std::int32_t kind, CCollisionLog::TIndexList& indices,
                                 std::uint32_t& n) const {
        m_previous.FindAllKind(kind, indices, n);
    }
    /// How long kept entry i of the tick before has lasted; 0 beyond the kept entries.
    std::uint32_t GetPersistence(std::uint32_t i) const {
        return i < CCollisionLog::kStored ? m_persistence[i] : 0;
    }

    void SetResponseDirection(const CVector& direction) { m_responseDirection = direction; }
    /// The last response direction; false, with (0, 0, 0), while there is none.
    bool GetResponseDirection(CVector& out) const;

    /// Contacts naming the object name none from now on (the object is leaving the world).
    void ForgetObject(const CWorldObject* object);
    bool IsInitialised() const { return m_initialised; }
    bool IsFrequencyLogOn() const { return m_frequencyEnabled; }

private:
    bool m_initialised = false;
    CCollisionLog m_current;
    CCollisionLog m_previous;
    bool m_frequencyEnabled = false;
    CCollisionFrequencyLog m_frequency;
    CVector m_responseDirection;
    std::array<std::uint32_t, CCollisionLog::kStored> m_persistence{};
};

} // namespace zentrix
