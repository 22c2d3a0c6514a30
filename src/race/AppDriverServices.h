#pragma once

#include "race/DriverServices.h"

namespace zentrix {

/// The drivers' services over the application object.
class CAppDriverServices : public IDriverServices {
public:
    /// The application, its error manager and its input manager exist and the input manager started.
    bool IsInputReady() const override;
    /// No route is built into the program yet: none.
    const IRaceRoute* GetRoute() const override { return nullptr; }
    /// The race has no taunts yet: the event goes nowhere.
    void ReportTaunt(IRacerCar* /*car*/, int /*event*/) override {}
    /// The game-state manager's state; -1 without one.
    int GetGameState() const override;
};

} // namespace zentrix
