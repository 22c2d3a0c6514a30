#pragma once

#include "foundation/base/ManagerInterface.h"

#include <array>
#include <memory>

namespace zentrix {

class CCarObject;
class CDriver;
class IDriverServices;
class IRacerCar;

/// Holds the race's drivers in slots 0..7 (the car slots), makes them by kind for the race world and
/// updates them once per frame (not while the race is paused). It owns the drivers.
class CDriverManager : public CManagerInterface {
public:
    static constexpr int kSlots = 8;

    /// A manager reaching the game through `services` (may be null: then it cannot start).
    explicit CDriverManager(IDriverServices* services);
    ~CDriverManager() override;
    CDriverManager(const CDriverManager&) = delete;
    CDriverManager& operator=(const CDriverManager&) = delete;

    /// 1 when the input is not ready; else started, 0.
    int StartManager() override;
    /// Deletes every driver; returns 0.
    int StopManager() override;

    /// With kind 0 (human), 1 (computer) or 2 (jam truck): the slot's driver is replaced by a new one of
    /// that kind for `driverIndex`. Any other kind only reads the slot. The slot's driver, or null (also
    /// for a slot outside 0..7).
    CDriver* CreateDriver(int slot, int driverIndex, int kind);
    /// The driver of `slot` (null: none, or a slot outside 0..7).
    CDriver* GetDriver(int slot) const;
    /// Deletes the driver of `slot` (nothing outside 0..7).
    void DeleteDriver(int slot);
    /// Deletes every driver (the race world is left).
    void DeleteAllDrivers();
    /// Every driver's route position first, then every driver's frame, in slot order.
    void Update(int ms);

    /// A spawned jam truck: every human and computer driver watches it.
    void AddToWatchLists(IRacerCar* car);
    /// A removed jam truck: off every human and computer driver's list; its own driver is marked removed.
    void RemoveJamTruck(IRacerCar* car);
    /// A car about to be deleted: no driver keeps it as its car or on its watch list.
    void ForgetCar(IRacerCar* car);
    /// The same three for a car object (a spawned or removed jam truck); nothing for a car without a
    /// driver of this manager.
    void AddToWatchLists(CCarObject* car);
    void RemoveJamTruck(CCarObject* car);
    void ForgetCar(CCarObject* car);

protected:
    /// A new driver of `kind` (0..2).
    virtual std::unique_ptr<CDriver> MakeDriver(int kind, int driverIndex, int slot);

private:
    /// The racer view of a car object driven by one of this manager's drivers; null otherwise.
    IRacerCar* RacerOf(const CCarObject* car) const;

    IDriverServices* m_services;
    std::array<std::unique_ptr<CDriver>, kSlots> m_drivers;
};

} // namespace zentrix
