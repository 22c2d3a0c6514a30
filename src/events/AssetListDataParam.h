#pragma once

#include "events/DataParam.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace zentrix {

/// A list of integer ids (assets, sounds, type ids) in the order the script gives them.
class CAssetListDataParam final : public CDataParam {
public:
    explicit CAssetListDataParam(std::vector<std::int32_t> values) : m_values(std::move(values)) {}
    /// A copy of the list.
    std::vector<std::int32_t> GetValue() const { return m_values; }

private:
    std::vector<std::int32_t> m_values;
};

} // namespace zentrix
