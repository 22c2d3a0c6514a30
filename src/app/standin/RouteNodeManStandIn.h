#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the route manager until the racing code is built: no route exists.
class CRouteNodeManStandIn : public CManagerInterface {
public:
    ~CRouteNodeManStandIn() override = default;
    int StartManager() override {
        m_bStarted = true;
        return 0;
    }
    int StopManager() override {
        m_bStarted = false;
        return 0;
    }
};
