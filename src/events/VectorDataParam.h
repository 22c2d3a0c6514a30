#pragma once

#include "events/DataParam.h"
#include "foundation/math/Vector.h"

namespace zentrix {

/// A three-float vector parameter value.
class CVectorDataParam final : public CDataParam {
public:
    explicit CVectorDataParam(CVector value) : m_value(value) {}
    CVector GetValue() const { return m_value; }

private:
    CVector m_value;
};

} // namespace zentrix
