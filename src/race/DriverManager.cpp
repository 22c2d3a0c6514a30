#include "race/DriverManager.h"

#include "race/AIDriver.h"
#include "race/Driver.h"
#include "race/DriverServices.h"
#include "race/FactoryDriver.h"
#include "race/HumanDriver.h"
#include "race/RacerCar.h"

namespace zentrix {

namespace {

bool WatchesCars(const CDriver& driver) {
    return driver.GetKind() == 0 || driver.GetKind() == 1;
}

} // namespace

CDriverManager::CDriverManager(IDriverServices* services) : m_services(services) {}

CDriverManager::~CDriverManager() {
    DeleteAllDrivers();
}

int CDriverManager::StartManager() {
    if (!m_services || !m_services->IsInputReady())
        return 1;
    m_started = true;
    return 0;
}

int CDriverManager::StopManager() {
    DeleteAllDrivers();
    m_started = false;
    return 0;
}

std::unique_ptr<CDriver> CDriverManager::MakeDriver(int kind, int driverIndex, int slot) {
    switch (kind) {
    case 0: // the player
        return std::make_unique<CHumanDriver>(driverIndex, slot, m_services);
    case 1: // a computer opponent
        return std::make_unique<CAIDriver>(driverIndex, slot, m_services);
    default: // the jam truck
        return std::make_unique<CFactoryDriver>(driverIndex, slot, m_services);
    }
}

CDriver* CDriverManager::CreateDriver(int slot, int driverIndex, int kind) {
    if (slot < 0 || slot >= kSlots)
        return nullptr;
    if (kind >= 0 && kind <= 2) {
        DeleteDriver(slot);
        m_drivers[static_cast<std::size_t>(slot)] = MakeDriver(kind, driverIndex, slot);
        if (CDriver* driver = m_drivers[static_cast<std::size_t>(slot)].get())
            driver->SetManager(this);
    }
    return GetDriver(slot);
}

CDriver* CDriverManager::GetDriver(int slot) const {
    return slot >= 0 && slot < kSlots ? m_drivers[static_cast<std::size_t>(slot)].get() : nullptr;
}

void CDriverManager::DeleteDriver(int slot) {
    if (slot < 0 || slot >= kSlots)
        return;
    // The driver tells its car; the car itself lives on until the world deletes it (ForgetCar).
    m_drivers[static_cast<std::size_t>(slot)].reset();
}

void CDriverManager::DeleteAllDrivers() {
    for (int slot = 0; slot < kSlots; ++slot)
        DeleteDriver(slot);
}

void CDriverManager::Update(int ms) {
    for (const std::unique_ptr<CDriver>& driver : m_drivers)
        if (driver)
            driver->UpdateRoutePosition();
    for (const std::unique_ptr<CDriver>& driver : m_drivers)
        if (driver)
            driver->Update(ms);
}

void CDriverManager::AddToWatchLists(IRacerCar* car) {
    if (!car)
        return;
    for (const std::unique_ptr<CDriver>& driver : m_drivers)
        if (driver && WatchesCars(*driver))
            driver->AddWatched(car);
}

void CDriverManager::RemoveJamTruck(IRacerCar* car) {
    for (const std::unique_ptr<CDriver>& driver : m_drivers) {
        if (!driver)
            continue;
        if (WatchesCars(*driver))
            driver->RemoveWatched(car);
        if (car)
            driver->CarRemoved(car);
        if (car && driver->GetCar() == car)
            driver->SetRemoved(true);
    }
}

void CDriverManager::ForgetCar(IRacerCar* car) {
    if (!car)
        return;
    for (const std::unique_ptr<CDriver>& driver : m_drivers) {
        if (!driver)
            continue;
        driver->RemoveWatched(car);
        driver->CarRemoved(car);
        if (driver->GetCar() == car)
            driver->SetRacerCar(nullptr);
    }
}

IRacerCar* CDriverManager::RacerOf(const CCarObject* car) const {
    if (!car)
        return nullptr;
    for (const std::unique_ptr<CDriver>& driver : m_drivers)
        if (driver && driver->GetCarObject() == car)
            return driver->GetCar();
    return nullptr;
}

void CDriverManager::AddToWatchLists(CCarObject* car) {
    AddToWatchLists(RacerOf(car));
}

void CDriverManager::RemoveJamTruck(CCarObject* car) {
    RemoveJamTruck(RacerOf(car));
}

void CDriverManager::ForgetCar(CCarObject* car) {
    ForgetCar(RacerOf(car));
}

} // namespace zentrix
