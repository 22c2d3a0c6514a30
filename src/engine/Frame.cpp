#include "engine/Frame.h"

#include "foundation/math/EngineMath.h"

#include <cstring>

namespace zentrix {

CFrame::CFrame() : CEntity() {}

CFrame::CFrame(CEntity* owner) : CEntity(owner) {}

CEntity* CFrame::Clone(CEntity* newParent, void* /*unused*/) {
    auto* copy = new CFrame(newParent);
    FinishFrameClone(copy);
    return copy;
}

void CFrame::FinishFrameClone(CFrame* copy) const {
    std::memcpy(copy->m_orientation, m_orientation, sizeof m_orientation);
    FinishClone(copy);
}

float* CFrame::GetLocalMatrix(float* out) const {
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            out[row * 4 + col] = m_orientation[row * 3 + col];
        out[row * 4 + 3] = 0.0f;
    }
    out[12] = m_position[0];
    out[13] = m_position[1];
    out[14] = m_position[2];
    out[15] = 1.0f;
    return out;
}

void CFrame::PostMultiplyLocal(float* m) const {
    float local[16];
    PostMultiplyMatrix(m, GetLocalMatrix(local));
}

void CFrame::PreMultiplyLocal(float* m) const {
    float local[16];
    MultiplyMatrix(m, GetLocalMatrix(local));
}

void CFrame::SetMatrix(const float* m) {
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m_orientation[row * 3 + col] = m[row * 4 + col];
    m_position[0] = m[12];
    m_position[1] = m[13];
    m_position[2] = m[14];
    Invalidate();
}

void CFrame::SetOrientation(float dx, float dy, float dz, float ux, float uy, float uz) {
    Invalidate();
    float d[3] = {dx, dy, dz};
    const float up[3] = {ux, uy, uz};
    NormaliseVector(d);
    float* right = &m_orientation[0];
    float* upRow = &m_orientation[3];
    float* back = &m_orientation[6];
    back[0] = -d[0];
    back[1] = -d[1];
    back[2] = -d[2];
    CrossProduct(right, up, back);
    NormaliseVector(right);
    CrossProduct(upRow, back, right);
    NormaliseVector(upRow);
}

void CFrame::SetDirection(float x, float y, float z) {
    SetOrientation(x, y, z, 0.0f, 1.0f, 0.0f);
}

void CFrame::SetOrientationRelative(const CEntity* reference, float dx, float dy, float dz, float ux,
                                    float uy, float uz) {
    Invalidate();
    float chain[16];
    GetChainMatrix(reference, chain);
    float inverse[16];
    if (!InvertMatrix(chain, inverse))
        return;
    inverse[12] = inverse[13] = inverse[14] = 0.0f;
    const float direction[3] = {dx, dy, dz};
    const float up[3] = {ux, uy, uz};
    float d[3];
    TransformPoint(inverse, direction, d);
    NormaliseVector(d);
    float* right = &m_orientation[0];
    float* upRow = &m_orientation[3];
    float* back = &m_orientation[6];
    back[0] = -d[0];
    back[1] = -d[1];
    back[2] = -d[2];
    TransformPoint(inverse, up, upRow);
    NormaliseVector(upRow);
    CrossProduct(right, upRow, back);
    NormaliseVector(right);
}

void CFrame::SetDirectionRelative(const CEntity* reference, float x, float y, float z) {
    SetOrientationRelative(reference, x, y, z, 0.0f, 1.0f, 0.0f);
}

void CFrame::GetOrientationRelative(const CEntity* reference, float* direction, float* up) const {
    float chain[16];
    GetChainMatrix(reference, chain);
    chain[12] = chain[13] = chain[14] = 0.0f;
    if (direction) {
        const float forward[3] = {-m_orientation[6], -m_orientation[7], -m_orientation[8]};
        TransformPoint(chain, forward, direction);
    }
    if (up)
        TransformPoint(chain, &m_orientation[3], up);
}

void CFrame::GetDirectionRelative(const CEntity* reference, float* direction) const {
    GetOrientationRelative(reference, direction, nullptr);
}

void CFrame::GetOrientation(float* direction, float* up) const {
    GetOrientationRelative(GetParent(), direction, up);
}

void CFrame::GetDirection(float* direction) const {
    GetOrientation(direction, nullptr);
}

} // namespace zentrix
