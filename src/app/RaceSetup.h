#pragma once

#include <cstdint>

namespace zentrix {

/// Number of racer entries of a race.
constexpr int kMaxRacers = 4;
/// Size of the track file name, its terminating zero included.
constexpr int kTrackFileSize = 260;

/// Driver kinds.
enum EDriverKind : int {
    DRIVER_KIND_NONE = -1,
    DRIVER_KIND_HUMAN = 0,
    DRIVER_KIND_COMPUTER = 1,
    DRIVER_KIND_JAM = 2
};

/// Everything that describes one race: laps, racers, track and world theme. Copied by value.
struct CRaceSetup {
    std::int32_t laps;
    std::int32_t racerCount;
    std::int32_t driver[kMaxRacers]; ///< driver index per racer; -2 = no racer
    std::int32_t kind[kMaxRacers];   ///< EDriverKind
    std::int32_t car[kMaxRacers];    ///< car id 60000..60012; -1 none
    std::int32_t skin[kMaxRacers];   ///< 0..12; -2 the car's default; -1 none
    std::int32_t tyre[kMaxRacers];   ///< 0..2; -1 none
    char trackFile[kTrackFileSize];  ///< zero-terminated
    std::int32_t trackDirectory;     ///< file-saver directory slot; -1 none
    std::int32_t world;              ///< world theme 0..3; -1 keeps the current one
};

/// Clears `setup`: no laps, no racers, no track, directory and world -1.
void ClearRaceSetup(CRaceSetup& setup);

/// Fills `setup` with the built-in record of game mode `mode`; a mode without one gets a cleared record.
void DefaultRaceSetup(int mode, CRaceSetup& setup);

/// Copies `name` into the track file of `setup`, cut to fit and always terminated.
void SetRaceTrackFile(CRaceSetup& setup, const char* name);

/// The driver kind of a driver index: 2 for the jam truck (-1), 1 for computer opponents (0..8), 0 for
/// player characters (9..12), -1 for anything else.
int DriverClassFromIndex(int driver);
/// The car id of car index 0..12.
int CarIdFromIndex(int carIndex);
/// The car index of car id 60000..60012, else -1.
int CarIndexFromCarId(int carId);
/// The opponent-mask bit of opponent index 0..8, else 0.
int OpponentBitFromIndex(int opponent);
/// The opponent-mask bit of an opponent letter (letter case counts), else 0.
int OpponentBitFromLetter(char letter);
/// The default car id of driver 0..12, else -1.
int DriverDefaultCarId(int driver);
/// The default car index of driver 0..12, else -1.
int DriverDefaultCarIndex(int driver);
/// The default skin of driver 0..12, else -1.
int DriverDefaultSkin(int driver);

} // namespace zentrix
