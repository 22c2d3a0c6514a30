#pragma once

#include "race/ComputerCar.h"
#include "world/CarObject.h"

namespace zentrix {

/// A car object seen as IComputerCar.
class CCarObjectComputer : public IComputerCar {
public:
    /// Sees `car` from now on (null: none; then nothing may be asked).
    void Bind(CCarObject* car) { m_car = car; }
    CCarObject* GetCarObject() const { return m_car; }

    CVector GetDirection() const override { return m_car->Direction(); }
    float GetSpeed() const override { return m_car->GetSpeed(); }
    float GetTopSpeed() const override { return m_car->GetTopSpeed(); }
    bool IsMovingForward() const override { return m_car->IsMovingForward(); }
    bool IsStopped() const override { return m_car->IsStopped(); }
    int GetPickupType() const override { return m_car->GetPickupType(); }
    void RaiseActionRequest(int i) override { m_car->SetActionRequest(i, true); }
    bool ApplyParamModifiers(const CCarObject::SParamModifiers& factors, int durationMs) override {
        return m_car->ApplyParamModifiers(factors, durationMs);
    }

private:
    CCarObject* m_car = nullptr;
};

} // namespace zentrix
