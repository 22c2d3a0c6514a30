#pragma once

#include "events/DataParam.h"

#include <cstdint>

namespace zentrix {

/// An int parameter value.
class CIntDataParam final : public CDataParam {
public:
    explicit CIntDataParam(std::int32_t value) : m_value(value) {}
    std::int32_t GetValue() const { return m_value; }
    void SetValue(std::int32_t value) { m_value = value; }

private:
    std::int32_t m_value;
};

} // namespace zentrix
