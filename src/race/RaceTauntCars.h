#pragma once

#include "race/TauntCars.h"

namespace zentrix {

class CDriverManager;

/// The race's cars as the taunts see them: car objects of the world registry with the drivers that
/// steer them, and the car of driver slot 0 of the application's driver manager.
class CRaceTauntCars : public ITauntCars {
public:
    bool FindDriver(const CWorldObject* car, int& slot, int& driverIndex) const override;
    CVector GetPosition(const CWorldObject* car) const override;
    const CWorldObject* GetReferenceCar() const override;
};

} // namespace zentrix
