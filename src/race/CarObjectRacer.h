#pragma once

#include "race/RacerCar.h"

namespace zentrix {

class CCarObject;
class ICarDriverLink;

/// A car object as the drivers and the results see it.
class CCarObjectRacer : public IRacerCar {
public:
    /// The view of the cars `driver` steers.
    explicit CCarObjectRacer(ICarDriverLink* driver) : m_driver(driver) {}
    /// Sees `car` from now on (null: none; then nothing may be asked).
    void Bind(CCarObject* car) { m_car = car; }
    CCarObject* GetCarObject() const { return m_car; }

    CVector GetPosition() const override;
    bool IsGrounded() const override;
    int GetStuntState() const override;
    void Respawn(int delayMs) override;
    int GetTypeId() const override;
    int GetLiveryChoice() const override;
    int GetTyreType() const override;
    /// The car is left without a driver, unless another has taken it over meanwhile.
    void ForgetDriver() override;
    CWorldObject* GetWorldObject() const override;
    CVector GetHeading() const override;
    CVector GetVelocity() const override;
    float GetSpeed() const override;
    bool IsMovingForward() const override;

private:
    ICarDriverLink* m_driver;
    CCarObject* m_car = nullptr;
};

} // namespace zentrix
