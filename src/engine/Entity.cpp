#include "engine/Entity.h"

#include "foundation/math/EngineMath.h"

#include <cstring>

namespace zentrix {

CEntity::CEntity() : CEntity(nullptr) {}

CEntity::CEntity(CEntity* owner) {
    IdentityMatrix(m_matrix);
    if (owner)
        Link(owner);
}

CEntity::~CEntity() {
    m_name.reset();
    Detach(this);
    // Each child unlinks itself from this list as it goes, so the head is taken until none is left.
    while (m_firstChild)
        delete m_firstChild;
}

void CEntity::Link(CEntity* parent) {
    m_parent = parent;
    m_nextSibling = parent->m_firstChild;
    parent->m_firstChild = this;
}

void CEntity::Unlink() {
    if (!m_parent)
        return;
    CEntity** link = &m_parent->m_firstChild;
    while (*link && *link != this)
        link = &(*link)->m_nextSibling;
    if (*link)
        *link = m_nextSibling;
    m_nextSibling = nullptr;
    m_parent = nullptr;
}

CEntity* CEntity::Clone(CEntity* newParent, void* /*unused*/) {
    auto* copy = new CEntity(newParent);
    FinishClone(copy);
    return copy;
}

void CEntity::FinishClone(CEntity* copy) const {
    copy->SetName(GetName());
    std::memcpy(copy->m_position, m_position, sizeof m_position);
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling)
        copy->AddChild(child->Clone(nullptr));
    copy->Invalidate();
}

void CEntity::RecursiveHook(bool flag) {
    if (!flag)
        return;
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling)
        child->RecursiveHook(flag);
}

void CEntity::SortFaces(bool recursive) {
    if (!recursive)
        return;
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling)
        child->SortFaces(recursive);
}

void CEntity::SetPositionRelative(const CEntity* reference, float x, float y, float z) {
    const float position[3] = {x, y, z};
    SetPositionRelative(reference, position);
}

void CEntity::SetPosition(float x, float y, float z) {
    m_position[0] = x;
    m_position[1] = y;
    m_position[2] = z;
    Invalidate();
}

void CEntity::SetPositionRelative(const CEntity* reference, const float* position) {
    Invalidate();
    float chain[16];
    GetChainMatrix(reference, chain);
    float inverse[16];
    if (!InvertMatrix(chain, inverse))
        return;
    // InverseTransformPoint moves its point argument, and the caller's position must stay as it was.
    float point[3] = {position[0], position[1], position[2]};
    InverseTransformPoint(inverse, point, m_position);
}

void CEntity::SetPositionVector(const float* position) {
    SetPosition(position[0], position[1], position[2]);
}

void CEntity::GetPositionRelative(const CEntity* reference, float* out) const {
    float chain[16];
    GetChainMatrix(reference, chain);
    TransformPoint(chain, m_position, out);
}

float* CEntity::GetPosition(float* out) const {
    std::memcpy(out, m_position, sizeof m_position);
    return out;
}

void CEntity::GetMatrixRelative(float* out, const CEntity* reference) const {
    if (reference == m_parent) {
        GetLocalMatrix(out);
        return;
    }
    if (IsValidUpTo(reference)) {
        GetMatrix(out);
        return;
    }
    if (m_parent)
        m_parent->GetMatrixRelative(out, nullptr);
    else
        IdentityMatrix(out);
    PreMultiplyLocal(out);
    out[3] = out[7] = out[11] = 0.0f;
    out[15] = 1.0f;
}

float* CEntity::GetLocalMatrix(float* out) const {
    IdentityMatrix(out);
    out[12] = m_position[0];
    out[13] = m_position[1];
    out[14] = m_position[2];
    return out;
}

void CEntity::GetMatrix(float* out) const {
    CopyMatrix(m_matrix, out);
}

void CEntity::PostMultiplyLocal(float* m) const {
    for (int i = 0; i < 3; ++i)
        m[12 + i] = static_cast<float>(static_cast<double>(m[12 + i]) + m_position[i]);
}

void CEntity::PreMultiplyLocal(float* m) const {
    double t[3];
    for (int col = 0; col < 3; ++col)
        t[col] = static_cast<double>(m_position[0]) * m[col] +
                 static_cast<double>(m_position[1]) * m[4 + col] +
                 static_cast<double>(m_position[2]) * m[8 + col] + m[12 + col];
    for (int i = 0; i < 3; ++i)
        m[12 + i] = static_cast<float>(t[i]);
}

bool CEntity::IsValidUpTo(const CEntity* reference) const {
    for (const CEntity* node = this; node; node = node->m_parent) {
        if (!node->m_valid)
            return false;
        if (node == reference)
            break;
    }
    return true;
}

bool CEntity::UpdateWorldMatrix(bool useCache) {
    if (useCache && m_valid)
        return true;
    if (m_parent) {
        m_parent->GetMatrix(m_matrix);
        PreMultiplyLocal(m_matrix);
    } else {
        GetLocalMatrix(m_matrix);
    }
    m_matrix[3] = m_matrix[7] = m_matrix[11] = 0.0f;
    m_matrix[15] = 1.0f;
    m_valid = true;
    return false;
}

void CEntity::Render(CViewport* view, bool useCache) {
    const bool childCache = UpdateWorldMatrix(useCache);
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling)
        child->Render(view, childCache);
}

void CEntity::Prepare(CViewport* view, bool useCache) {
    const bool childCache = UpdateWorldMatrix(useCache);
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling)
        child->Prepare(view, childCache);
}

void CEntity::SetAnimFrame(float frame, bool recursive) {
    if (!recursive)
        return;
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling)
        child->SetAnimFrame(frame, true);
}

void CEntity::PrecomputeFrames() {
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling)
        child->PrecomputeFrames();
}

void CEntity::SetName(const char* name) {
    if (name)
        m_name = CDStr(name);
    else
        m_name.reset();
}

void CEntity::AddChild(CEntity* child) {
    if (child->m_parent)
        Detach(child);
    child->Link(this);
    child->Invalidate();
}

void CEntity::Detach(CEntity* node) {
    node->Unlink();
    node->Invalidate();
}

CEntity* CEntity::FindFrame(const char* name) {
    if (!name)
        return nullptr;
    if (m_name && *m_name == name)
        return this;
    for (CEntity* child = m_firstChild; child; child = child->m_nextSibling) {
        if (CEntity* found = child->FindFrame(name))
            return found;
    }
    return nullptr;
}

void CEntity::GetChainMatrix(const CEntity* reference, float* out) const {
    IdentityMatrix(out);
    for (const CEntity* node = m_parent; node && node != reference; node = node->m_parent)
        node->PostMultiplyLocal(out);
}

} // namespace zentrix
