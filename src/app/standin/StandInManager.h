#pragma once

#include "foundation/base/ManagerInterface.h"

namespace zentrix {

/// The start and stop of a manager that stands in for a subsystem not built yet: they only mark it
/// started or stopped, and always succeed.
class CStandInManager : public CManagerInterface {
public:
    ~CStandInManager() override = default;
    int StartManager() override {
        m_started = true;
        return 0;
    }
    int StopManager() override {
        m_started = false;
        return 0;
    }
};

} // namespace zentrix
