#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

/// A force handed to contact points: the vector (its x, y, z) and what kind of force it is, which
/// decides whether an airborne wheel feels it.
class CForce : public CVector {
public:
    /// The kinds of force.
    enum Kind : std::int32_t { kDrive = 0, kExternal = 1, kFriction = 2 };

    /// The zero force, of no kind yet.
    CForce();
    CForce(const CVector& v, std::int32_t kind);
    CForce(const CForce& other);
    CForce& operator=(const CForce& other) = default;
    virtual ~CForce();

    void Set(const CVector& v, std::int32_t kind) {
        SetFrom(v);
        m_kind = kind;
    }
    void SetKind(std::int32_t kind) { m_kind = kind; }
    std::int32_t GetKind() const { return m_kind; }

    /// The forces alive now.
    static int LiveCount();

private:
    std::int32_t m_kind = -1;
};

} // namespace zentrix
