#include "race/CarObjectRacer.h"

#include "world/CarObject.h"

namespace zentrix {

CVector CCarObjectRacer::GetPosition() const {
    return m_car->Position();
}

bool CCarObjectRacer::IsGrounded() const {
    return m_car->IsGrounded();
}

int CCarObjectRacer::GetStuntState() const {
    return m_car->GetStuntState();
}

void CCarObjectRacer::Respawn(int delayMs) {
    m_car->Respawn(delayMs);
}

int CCarObjectRacer::GetTypeId() const {
    return m_car->GetTypeId();
}

int CCarObjectRacer::GetLiveryChoice() const {
    return m_car->GetLiveryChoice();
}

int CCarObjectRacer::GetTyreType() const {
    return m_car->GetTyreType();
}

void CCarObjectRacer::ForgetDriver() {
    if (m_car && m_car->GetDriverLink() == m_driver)
        m_car->AssignDriver(nullptr);
}

CWorldObject* CCarObjectRacer::GetWorldObject() const {
    return m_car;
}

CVector CCarObjectRacer::GetHeading() const {
    return m_car->Direction();
}

CVector CCarObjectRacer::GetVelocity() const {
    return m_car->GetMeanContactVelocity();
}

float CCarObjectRacer::GetSpeed() const {
    return m_car->GetSpeed();
}

bool CCarObjectRacer::IsMovingForward() const {
    return m_car->IsMovingForward();
}

} // namespace zentrix
