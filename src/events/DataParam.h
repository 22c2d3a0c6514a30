#pragma once

namespace zentrix {

/// One typed value of a script item's parameter. The run time knows a value's class from the type of
/// its slot in the keyword table.
class CDataParam {
public:
    virtual ~CDataParam() = default;
    CDataParam(const CDataParam&) = delete;
    CDataParam& operator=(const CDataParam&) = delete;

protected:
    CDataParam() = default;
};

} // namespace zentrix
