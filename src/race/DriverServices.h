#pragma once

namespace zentrix {

class CIOManager;
class IRaceRoute;
class IRacerCar;

/// What the drivers and their manager take from the rest of the game.
class IDriverServices {
public:
    virtual ~IDriverServices() = default;

    /// Whether the application, its error manager and a started input manager exist.
    virtual bool IsInputReady() const = 0;
    /// The route of the race (null: none).
    virtual const IRaceRoute* GetRoute() const = 0;
    /// Hands taunt event `event` about `car` to the race's taunts.
    virtual void ReportTaunt(IRacerCar* car, int event) = 0;
    /// The current game state.
    virtual int GetGameState() const = 0;
    /// The input manager a player's driver takes its device from (null: none, so no player can drive).
    virtual CIOManager* GetInputManager() const { return nullptr; }
    /// Whether players steer the car themselves rather than by lanes ("/FREEFORM" on the command line).
    virtual bool IsFreeForm() const { return false; }
};

} // namespace zentrix
