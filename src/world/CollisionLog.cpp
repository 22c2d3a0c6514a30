#include "world/CollisionLog.h"

#include "world/WorldObject.h"

#include <cmath>

namespace zentrix {

namespace {

int g_liveLogs = 0;

} // namespace

CCollisionLog::CCollisionLog() {
    ++g_liveLogs;
}

CCollisionLog::~CCollisionLog() {
    --g_liveLogs;
}

int CCollisionLog::LiveCount() {
    return g_liveLogs;
}

bool CCollisionLog::Init() {
    m_count = 0;
    m_initialised = true;
    return true;
}

void CCollisionLog::Reset() {
    m_count = 0;
    m_initialised = false;
}

std::uint32_t CCollisionLog::Add(const CVector& vector, float response, std::int32_t kind,
                                 CWorldObject* other) {
    if (m_count < kStored) {
        SContactEntry& entry = m_entries[m_count];
        entry.vector = vector;
        entry.response = response;
        entry.kind = kind;
        entry.other = other && !other->IsDead() ? other : nullptr;
    }
    ++m_count;
    return m_count;
}

bool CCollisionLog::Get(std::uint32_t i, SContactEntry& out) const {
    if (i >= m_count || i >= kStored)
        return false;
    out = m_entries[i];
    return true;
}

std::uint32_t CCollisionLog::SearchLimit() const {
    return m_count >= kStored ? kSearchedWhenFull : m_count;
}

bool CCollisionLog::FindKind(std::int32_t kind, std::uint32_t& index, SContactEntry& out) const {
    for (std::uint32_t i = 0; i < SearchLimit(); ++i)
        if (m_entries[i].kind == kind) {
            index = i;
            out = m_entries[i];
            return true;
        }
    return false;
}

bool CCollisionLog::FindOther(const CWorldObject* other, std::uint32_t& index, SContactEntry& out) const {
    for (std::uint32_t i = 0; i < SearchLimit(); ++i)
        if (m_entries[i].other == other) {
            index = i;
            out = m_entries[i];
            return true;
        }
    return false;
}

bool CCollisionLog::HasKind(std::int32_t kind) const {
    return CountKind(kind) > 0;
}

std::uint32_t CCollisionLog::CountKind(std::int32_t kind) const {
    std::uint32_t n = 0;
    for (std::uint32_t i = 0; i < SearchLimit(); ++i)
        n += m_entries[i].kind == kind ? 1 : 0;
    return n;
}

void CCollisionLog::FindAllKind(std::int32_t kind, TIndexList& indices, std::uint32_t& n) const {
    n = 0;
    for (std::uint32_t i = 0; i < SearchLimit(); ++i)
        if (m_entries[i].kind == kind)
            indices[n++] = i;
}

std::int32_t CCollisionLog::GetKind(std::uint32_t i) const {
    return i < SearchLimit() ? m_entries[i].kind : -1;
}

void CCollisionLog::CopyFrom(const CCollisionLog& other) {
    m_count = other.m_count;
    if (m_count > 0)
        m_entries = other.m_entries;
}

void CCollisionLog::ForgetObject(const CWorldObject* object) {
    for (SContactEntry& entry : m_entries)
        if (entry.other == object)
            entry.other = nullptr;
}

bool CCollisionLog::EntriesMatch(const SContactEntry& a, const SContactEntry& b) {
    const float distance = std::fabs(a.vector.x - b.vector.x) + std::fabs(a.vector.y - b.vector.y) +
                           std::fabs(a.vector.z - b.vector.z);
    return distance < 0.1f && a.kind == b.kind && a.other == b.other;
}

} // namespace zentrix
