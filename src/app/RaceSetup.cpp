#include "app/RaceSetup.h"

#include <cstring>

namespace zentrix {

namespace {

constexpr int kFirstCarId = 60000;
constexpr int kCarCount = 13;
constexpr int kDriverCount = 13;

constexpr int kDefaultCar[kDriverCount] = {60007, 60002, 60006, 60004, 60003, 60005, 60000,
                                           60009, 60012, 60008, 60010, 60011, 60001};
constexpr int kDefaultSkin[kDriverCount] = {5, 1, 11, 7, 6, 3, 0, 8, 12, 2, 9, 4, 10};

constexpr char kOpponentLetters[9] = {'f', 'g', 's', 'r', 'v', 'b', 'a', 'm', 'x'};
constexpr int kOpponentBits[9] = {256, 512, 1024, 2048, 65536, 131072, 262144, 524288, 4096};

struct SBuiltInSetup {
    int laps;
    int racerCount;
    int driver[kMaxRacers];
    int kind[kMaxRacers];
    int car[kMaxRacers];
    int skin[kMaxRacers];
    int tyre[kMaxRacers];
    const char* trackFile;
    int trackDirectory;
    int world;
};

// Mode 1 is the track editor's test drive, mode 3 the race from the second main screen.
constexpr SBuiltInSetup kTestDrive = {-1,
                                      1,
                                      {12, 6, -2, -2},
                                      {0, 1, -1, -1},
                                      {60001, 60000, -1, -1},
                                      {-2, -2, -1, -1},
                                      {0, 0, 0, 0},
                                      "AutoSaved.trk",
                                      1,
                                      -1};
constexpr SBuiltInSetup kRace = {3,
                                 1,
                                 {10, 6, 7, 4},
                                 {0, 1, 1, 1},
                                 {60010, 60000, 60009, 60003},
                                 {-2, -2, -2, -2},
                                 {0, 0, 0, 0},
                                 "demo.trk",
                                 5,
                                 2};

} // namespace

void ClearRaceSetup(CRaceSetup& setup) {
    std::memset(&setup, 0, sizeof(setup));
    setup.laps = 0;
    setup.racerCount = 0;
    for (int i = 0; i < kMaxRacers; ++i) {
        setup.driver[i] = -2;
        setup.kind[i] = -1;
        setup.car[i] = -1;
        setup.skin[i] = -1;
        setup.tyre[i] = -1;
    }
    setup.trackDirectory = -1;
    setup.world = -1;
}

void DefaultRaceSetup(int mode, CRaceSetup& setup) {
    ClearRaceSetup(setup);
    const SBuiltInSetup* source = mode == 1 ? &kTestDrive : mode == 3 ? &kRace : nullptr;
    if (!source)
        return;
    setup.laps = source->laps;
    setup.racerCount = source->racerCount;
    for (int i = 0; i < kMaxRacers; ++i) {
        setup.driver[i] = source->driver[i];
        setup.kind[i] = source->kind[i];
        setup.car[i] = source->car[i];
        setup.skin[i] = source->skin[i];
        setup.tyre[i] = source->tyre[i];
    }
    SetRaceTrackFile(setup, source->trackFile);
    setup.trackDirectory = source->trackDirectory;
    setup.world = source->world;
}

void SetRaceTrackFile(CRaceSetup& setup, const char* name) {
    std::size_t length = name ? strnlen(name, kTrackFileSize - 1) : 0;
    if (length > 0)
        std::memcpy(setup.trackFile, name, length);
    std::memset(setup.trackFile + length, 0, kTrackFileSize - length);
}

int DriverClassFromIndex(int driver) {
    if (driver == -1)
        return DRIVER_KIND_JAM;
    if (driver >= 0 && driver <= 8)
        return DRIVER_KIND_COMPUTER;
    if (driver >= 9 && driver <= 12)
        return DRIVER_KIND_HUMAN;
    return DRIVER_KIND_NONE;
}

int CarIdFromIndex(int carIndex) {
    return kFirstCarId + carIndex;
}

int CarIndexFromCarId(int carId) {
    return (carId >= kFirstCarId && carId < kFirstCarId + kCarCount) ? carId - kFirstCarId : -1;
}

int OpponentBitFromIndex(int opponent) {
    return (opponent >= 0 && opponent < 9) ? kOpponentBits[opponent] : 0;
}

int OpponentBitFromLetter(char letter) {
    for (int i = 0; i < 9; ++i) {
        if (kOpponentLetters[i] == letter)
            return kOpponentBits[i];
    }
    return 0;
}

int DriverDefaultCarId(int driver) {
    return (driver >= 0 && driver < kDriverCount) ? kDefaultCar[driver] : -1;
}

int DriverDefaultCarIndex(int driver) {
    int carId = DriverDefaultCarId(driver);
    return carId == -1 ? -1 : carId - kFirstCarId;
}

int DriverDefaultSkin(int driver) {
    return (driver >= 0 && driver < kDriverCount) ? kDefaultSkin[driver] : -1;
}

} // namespace zentrix
