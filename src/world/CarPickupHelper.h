#pragma once

#include "foundation/math/Random.h"

namespace zentrix {

class CCarObject;

/// The car's side of pickups: what it holds, what runs and the lock against using one. A car holds what it
/// is given; using, running and cancelling pickups are still to come, so nothing runs yet and updating,
/// cancelling and locking change nothing but the lock's countdown.
class CCarPickupHelper {
public:
    explicit CCarPickupHelper(CCarObject& car) : m_car(car) {}
    virtual ~CCarPickupHelper() = default;
    CCarPickupHelper(const CCarPickupHelper&) = delete;
    CCarPickupHelper& operator=(const CCarPickupHelper&) = delete;

    /// Pickup types 0..10; 7 stands for one of the eight usable types drawn at random.
    static constexpr int kLastType = 10;
    static constexpr int kRandomType = 7;

    /// Holds a pickup of `type` in place of any held one; 7 draws one of 0, 1, 2, 3, 10, 4, 6, 9. A type
    /// outside 0..10 (scripts may give any number) changes nothing: false.
    bool Give(int type) {
        static constexpr int kRandomTypes[8] = {0, 1, 2, 3, 10, 4, 6, 9};
        if (type < 0 || type > kLastType)
            return false;
        m_heldType = type == kRandomType ? kRandomTypes[Random::Next() % 8] : type;
        return true;
    }
    /// Whether a pickup is held.
    bool HasPickup() const { return m_heldType != -1; }
    /// The held pickup's type; -1 for none.
    int GetPickupType() const { return m_heldType; }
    /// The running pickup's type; -1 for none.
    int GetActiveType() const { return m_activeType; }
    /// Starts the held pickup, if any.
    void ActivateIfHeld() {}
    void Update(unsigned /*ms*/) {}
    /// Ends the running pickup, and drops the held one too when asked.
    void CancelPickup(bool /*dropHeld*/) {}
    /// No pickup may be used for `ms` milliseconds.
    void LockPickups(int ms) { m_lockMs = ms; }
    /// Lifts the lock.
    void Unlock() { m_lockMs = -1; }
    int GetLockMs() const { return m_lockMs; }
    CCarObject& GetCar() const { return m_car; }

private:
    CCarObject& m_car;
    int m_activeType = -1;
    int m_heldType = -1;
    int m_lockMs = -1;
};

} // namespace zentrix
