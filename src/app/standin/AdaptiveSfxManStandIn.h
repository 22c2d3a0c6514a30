#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the effects-detail manager until the rendering layer is built: there are no effects to
/// scale.
class CAdaptiveSfxManStandIn : public CManagerInterface {
public:
    ~CAdaptiveSfxManStandIn() override = default;
    int StartManager() override {
        m_bStarted = true;
        return 0;
    }
    int StopManager() override {
        m_bStarted = false;
        return 0;
    }
    /// Applies effects detail level `level`.
    virtual void SetEffectsLevel(int /*level*/) {}
};
