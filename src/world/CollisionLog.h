#pragma once

#include "world/ContactEntry.h"

#include <array>
#include <cstdint>

namespace zentrix {

class CWorldObject;

/// The contacts of one tick: every contact is counted, the first five are kept. The searches look at
/// the kept entries, but at no more than four of them once five or more were counted, so the fifth
/// kept entry is only ever read by Get.
class CCollisionLog {
public:
    static constexpr std::uint32_t kStored = 5;
    /// The most entries a search looks at when the log is full.
    static constexpr std::uint32_t kSearchedWhenFull = 4;
    using TIndexList = std::array<std::uint32_t, kStored>;

    CCollisionLog();
    virtual ~CCollisionLog();
    CCollisionLog(const CCollisionLog&) = delete;
    CCollisionLog& operator=(const CCollisionLog&) = delete;

    /// Empty and ready; true.
    bool Init();
    /// Empty and not initialised.
    void Reset();
    /// Counts a contact and keeps it while fewer than five are kept (a dead other object is kept as
    /// none); the new count.
    std::uint32_t Add(const CVector& vector, float response, std::int32_t kind, CWorldObject* other);
    /// Kept entry i; false unless i is below both the count and five.
    bool Get(std::uint32_t i, SContactEntry& out) const;
    /// The first searched entry of the kind.
    bool FindKind(std::int32_t kind, std::uint32_t& index, SContactEntry& out) const;
    /// The first searched entry naming the object.
    bool FindOther(const CWorldObject* other, std::uint32_t& index, SContactEntry& out) const;
    bool HasKind(std::int32_t kind) const;
    std::uint32_t CountKind(std::int32_t kind) const;
    /// The indexes of every searched entry of the kind, and how many there are.
    void FindAllKind(std::int32_t kind, TIndexList& indices, std::uint32_t& n) const;
    /// The kind of entry i; -1 beyond the searched entries.
    std::int32_t GetKind(std::uint32_t i) const;

    /// Count 0; the entries stay as they were.
    void Clear() { m_count = 0; }
    void SetCount(std::uint32_t n) { m_count = n; }
    std::uint32_t GetCount() const { return m_count; }
    bool IsInitialised() const { return m_initialised; }
    /// The other's count and, when it holds any, all five entries.
    void CopyFrom(const CCollisionLog& other);
    /// Entries naming the object name none from now on (the object is leaving the world).
    void ForgetObject(const CWorldObject* object);

    /// Whether two entries stand for the same contact: vectors within 0.1 (the sum of the component
    /// differences), the same kind and the same other object.
    static bool EntriesMatch(const SContactEntry& a, const SContactEntry& b);
    /// Number of live logs.
    static int LiveCount();

private:
    std::uint32_t SearchLimit() const;

    bool m_initialised = false;
    std::uint32_t m_count = 0;
    std::array<SContactEntry, kStored> m_entries{};
};

} // namespace zentrix
