#include "race/RaceTauntCars.h"

#include "app/App.h"
#include "race/Driver.h"
#include "race/DriverManager.h"
#include "world/CarObject.h"
#include "world/WorldMan.h"

namespace zentrix {

bool CRaceTauntCars::FindDriver(const CWorldObject* car, int& slot, int& driverIndex) const {
    // Asked by address first: a report may name a car removed since it was made.
    if (!car || !CWorldMan::IsInWorld(car))
        return false;
    const auto* carObject = dynamic_cast<const CCarObject*>(car);
    const CDriver* driver = carObject ? carObject->GetDriver() : nullptr;
    if (!driver)
        return false;
    slot = driver->GetSlot();
    driverIndex = driver->GetDriverIndex();
    return true;
}

CVector CRaceTauntCars::GetPosition(const CWorldObject* car) const {
    return car ? car->Position() : CVector();
}

const CWorldObject* CRaceTauntCars::GetReferenceCar() const {
    const CDriverManager* drivers = g_pApp ? g_pApp->GetDriverManager() : nullptr;
    const CDriver* first = drivers ? drivers->GetDriver(0) : nullptr;
    const CCarObject* car = first ? first->GetCarObject() : nullptr;
    return car && CWorldMan::IsInWorld(car) ? car : nullptr;
}

} // namespace zentrix
