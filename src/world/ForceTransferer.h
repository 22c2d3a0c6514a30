#pragma once

#include <array>

namespace zentrix {

class CActiveWorldObject;
class CCollisionRecorder;
class CWorldObject;

/// Lets an active object feel the forces on the active objects pushing it: it remembers up to five
/// partners that touched it and are still close, and at the start of each simulation step that follows
/// a tick with such a touch it damps the owner's gathered forces and adds the partners' horizontal
/// forces.
class CForceTransferer {
public:
    static constexpr int kMaxPartners = 5;
    /// What the owner keeps of its own gathered forces when it is pushed.
    static constexpr float kDamping = 0.75f;

    CForceTransferer() = default;
    virtual ~CForceTransferer() { Reset(); }
    CForceTransferer(const CForceTransferer&) = delete;
    CForceTransferer& operator=(const CForceTransferer&) = delete;

    /// Works for the owner with its recorder; partners must be closer than the square root of
    /// `threshold`. True.
    virtual bool Init(CActiveWorldObject* owner, CCollisionRecorder* recorder, float threshold);
    /// No owner, recorder or partners.
    virtual void Reset();
    /// Once per simulation step of the owner, before its contact points move: drops partners that died
    /// or went away, takes on the active objects that met the owner in the tick before, and passes
    /// their forces on when there were any.
    virtual void Update();

    /// Alive and closer than the threshold (squared distance below it); a living object's squared
    /// distance and the decision go to the trace (levels 1 and 2).
    bool IsInRange(const CWorldObject& object) const;
    /// Into the first free slot, unless dead, already a partner, or no slot is free.
    void AddPartner(CActiveWorldObject* object);
    /// Drops the partners that are not in range.
    void PrunePartners();
    /// Damps the owner's gathered forces and adds the partners' summed mean horizontal last force.
    void Transfer();
    /// Drops the object from the partners (it is leaving the world).
    void ForgetPartner(const CWorldObject* object);

    bool IsInitialised() const { return m_initialised; }
    float GetThreshold() const { return m_threshold; }
    int CountPartners() const;
    bool HasPartner(const CWorldObject* object) const;

private:
    bool m_initialised = false;
    float m_threshold = 0.0f;
    CActiveWorldObject* m_owner = nullptr;
    CCollisionRecorder* m_recorder = nullptr;
    std::array<CActiveWorldObject*, kMaxPartners> m_partners{};
};

} // namespace zentrix
