#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the input manager until the input devices are built: it refuses to start without the
/// application and its error manager, as the real one does, and polls nothing.
class CIOManagerStandIn : public CManagerInterface {
public:
    ~CIOManagerStandIn() override = default;
    /// 1 when CannotStart(nullptr), else 0.
    int StartManager() override;
    int StopManager() override;
    /// Reads every assigned device; none exists yet.
    virtual void Poll(int /*ms*/) {}
    /// Whether the application object or its error manager is missing, or `manager` exists and has not
    /// started.
    static bool CannotStart(const CManagerInterface* manager);
};
