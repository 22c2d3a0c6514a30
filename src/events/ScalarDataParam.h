#pragma once

#include "events/DataParam.h"

namespace zentrix {

/// A float parameter value.
class CScalarDataParam final : public CDataParam {
public:
    explicit CScalarDataParam(float value) : m_value(value) {}
    float GetValue() const { return m_value; }
    void SetValue(float value) { m_value = value; }

private:
    float m_value;
};

} // namespace zentrix
