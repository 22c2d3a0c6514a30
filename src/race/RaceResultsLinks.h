#pragma once

#include <string>

namespace zentrix {

class CDriver;
class IRaceRoute;
class IRacerCar;

/// What the race results take from the race around them: the route, the racers in the car slots, their
/// names, the cues, the race panel's player plates and the race world's end of race.
class IRaceResultsLinks {
public:
    virtual ~IRaceResultsLinks() = default;

    /// The route of the race (null: none).
    virtual const IRaceRoute* GetRoute() const = 0;
    /// The driver of the car in car slot `slot` (null when the slot holds no car, or the car no driver).
    virtual CDriver* GetSlotDriver(int slot) const = 0;
    /// The text of text asset `textId`; false (text unchanged) when there is none.
    virtual bool LoadText(int textId, std::string& text) = 0;
    /// The race world's state: -1 not racing yet, 0 racing, 1 race over (lap of honour).
    virtual int GetRaceState() const = 0;

    /// Interface sounds: stop the one playing, play one, hold the others back for a while.
    virtual void StopUiSound() = 0;
    virtual void PlayUiSound(int soundId) = 0;
    virtual void SuspendUiSounds(int ms) = 0;

    /// The race panel's player plates.
    virtual void ClearPlates() = 0;
    virtual void AddPlate(int slot, int laps, IRacerCar* car) = 0;
    virtual void SetPlate(int slot, int position, int laps, IRacerCar* car) = 0;

    /// The race is over and its results are taken: the race world goes on to the lap of honour. (The lap
    /// of honour shows no finishing list: the game only ever cleared one there and never filled it, so
    /// none is kept.)
    virtual void OnRaceOver() = 0;
};

} // namespace zentrix
