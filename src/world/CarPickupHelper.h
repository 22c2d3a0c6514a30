#pragma once

namespace zentrix {

class CCarObject;

/// The car's side of pickups: what it holds, what runs and the lock against using one. Pickups are not
/// in the game yet, so a car holds none: nothing is held or running, and using, updating, cancelling
/// and locking change nothing but the lock's countdown.
class CCarPickupHelper {
public:
    explicit CCarPickupHelper(CCarObject& car) : m_car(car) {}
    virtual ~CCarPickupHelper() = default;
    CCarPickupHelper(const CCarPickupHelper&) = delete;
    CCarPickupHelper& operator=(const CCarPickupHelper&) = delete;

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
