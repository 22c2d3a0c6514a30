#pragma once

#include "race/DriverServices.h"
#include "race/RouteNodeManRoute.h"

#include <memory>

namespace zentrix {

/// The drivers' services over the application object.
class CAppDriverServices : public IDriverServices {
public:
    /// The application, its error manager and its input manager exist and the input manager started.
    bool IsInputReady() const override;
    /// The application's route manager (null while there is none).
    const IRaceRoute* GetRoute() const override;
    /// To the application's taunt queue (nowhere without one).
    void ReportTaunt(IRacerCar* car, int event) override;
    /// The game-state manager's state; -1 without one.
    int GetGameState() const override;
    /// The application's input manager.
    CIOManager* GetInputManager() const override;
    /// The command line's "/FREEFORM".
    bool IsFreeForm() const override;

private:
    /// The view of the route manager it was made for; made again when the manager changes.
    mutable std::unique_ptr<CRouteNodeManRoute> m_route;
    mutable const CRouteNodeMan* m_routeSource = nullptr;
};

} // namespace zentrix
