#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the asset manager until the resource layer is built: it only checks that the resource
/// table is there, as the real manager's start does first, and offers the calls the shell makes.
class CAssetManStandIn : public CManagerInterface {
public:
    /// The resource table the start looks for in the working folder.
    static constexpr const char* kResourceTable = "VORN.rtb";

    ~CAssetManStandIn() override = default;
    /// 1 (after telling the player) when the resource table is missing, else 0.
    int StartManager() override;
    int StopManager() override;
    /// The hook the application calls once near the end of its start; does nothing.
    virtual void StartupHook() {}
    /// The current world theme (0 jungle); no other theme exists yet.
    virtual int GetWorld() const { return 0; }
};
