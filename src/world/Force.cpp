#include "world/Force.h"

namespace zentrix {

namespace {

int g_liveForces = 0;

} // namespace

CForce::CForce() {
    ++g_liveForces;
}

CForce::CForce(const CVector& v, std::int32_t kind) : CVector(v), m_kind(kind) {
    ++g_liveForces;
}

CForce::CForce(const CForce& other) : CVector(other), m_kind(other.m_kind) {
    ++g_liveForces;
}

CForce::~CForce() {
    --g_liveForces;
}

int CForce::LiveCount() {
    return g_liveForces;
}

} // namespace zentrix
