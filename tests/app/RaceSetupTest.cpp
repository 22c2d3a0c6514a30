#include "app/RaceSetup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace zentrix;

namespace {

TEST(RaceSetup, AClearedRecordHasNoRacersNoTrackAndNoWorld) {
    CRaceSetup setup;
    std::memset(&setup, 0x5A, sizeof setup);
    ClearRaceSetup(setup);
    EXPECT_EQ(setup.laps, 0);
    EXPECT_EQ(setup.racerCount, 0);
    for (int i = 0; i < kMaxRacers; ++i) {
        EXPECT_EQ(setup.driver[i], -2);
        EXPECT_EQ(setup.kind[i], -1);
        EXPECT_EQ(setup.car[i], -1);
        EXPECT_EQ(setup.skin[i], -1);
        EXPECT_EQ(setup.tyre[i], -1);
    }
    EXPECT_EQ(setup.trackFile[0], '\0');
    EXPECT_EQ(setup.trackDirectory, -1);
    EXPECT_EQ(setup.world, -1);
}

TEST(RaceSetup, TheBuiltInRecordsOfTheTestDriveAndTheRace) {
    struct Expected {
        int mode;
        int laps;
        int racers;
        int driver[kMaxRacers];
        int kind[kMaxRacers];
        int car[kMaxRacers];
        int skin[kMaxRacers];
        const char* track;
        int directory;
        int world;
    };
    const Expected records[] = {
        {1,
         -1,
         1,
         {12, 6, -2, -2},
         {0, 1, -1, -1},
         {60001, 60000, -1, -1},
         {-2, -2, -1, -1},
         "AutoSaved.trk",
         1,
         -1},
        {3,
         3,
         1,
         {10, 6, 7, 4},
         {0, 1, 1, 1},
         {60010, 60000, 60009, 60003},
         {-2, -2, -2, -2},
         "demo.trk",
         5,
         2},
    };
    for (const Expected& e : records) {
        SCOPED_TRACE(e.mode);
        CRaceSetup setup;
        std::memset(&setup, 0x5A, sizeof setup);
        DefaultRaceSetup(e.mode, setup);
        EXPECT_EQ(setup.laps, e.laps);
        EXPECT_EQ(setup.racerCount, e.racers);
        for (int i = 0; i < kMaxRacers; ++i) {
            EXPECT_EQ(setup.driver[i], e.driver[i]) << i;
            EXPECT_EQ(setup.kind[i], e.kind[i]) << i;
            EXPECT_EQ(setup.car[i], e.car[i]) << i;
            EXPECT_EQ(setup.skin[i], e.skin[i]) << i;
            EXPECT_EQ(setup.tyre[i], 0) << i;
        }
        EXPECT_STREQ(setup.trackFile, e.track);
        EXPECT_EQ(setup.trackFile[kTrackFileSize - 1], '\0');
        EXPECT_EQ(setup.trackDirectory, e.directory);
        EXPECT_EQ(setup.world, e.world);
    }
}

TEST(RaceSetup, ModesWithoutABuiltInRecordGetAClearedOne) {
    for (int mode : {-1, 0, 2, 4, 5}) {
        SCOPED_TRACE(mode);
        CRaceSetup other;
        DefaultRaceSetup(3, other);
        DefaultRaceSetup(mode, other);
        EXPECT_EQ(other.racerCount, 0);
        EXPECT_EQ(other.driver[0], -2);
        EXPECT_EQ(other.world, -1);
        EXPECT_EQ(other.trackFile[0], '\0');
    }
}

TEST(RaceSetup, DriverTablesAnswerOnlyForKnownDrivers) {
    struct Case {
        int driver;
        int kind;
        int car;
        int skin;
    };
    const Case cases[] = {
        {-2, -1, -1, -1}, {-1, 2, -1, -1},   {0, 1, 60007, 5},   {6, 1, 60000, 0}, {8, 1, 60012, 12},
        {9, 0, 60008, 2}, {10, 0, 60010, 9}, {12, 0, 60001, 10}, {13, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.driver);
        EXPECT_EQ(DriverClassFromIndex(c.driver), c.kind);
        EXPECT_EQ(DriverDefaultCarId(c.driver), c.car);
        EXPECT_EQ(DriverDefaultCarIndex(c.driver), c.car == -1 ? -1 : c.car - 60000);
        EXPECT_EQ(DriverDefaultSkin(c.driver), c.skin);
    }
}

TEST(RaceSetup, CarIdsAndOpponentBits) {
    EXPECT_EQ(CarIdFromIndex(0), 60000);
    EXPECT_EQ(CarIndexFromCarId(60012), 12);
    EXPECT_EQ(CarIndexFromCarId(60013), -1);
    EXPECT_EQ(CarIndexFromCarId(60015), -1);
    EXPECT_EQ(CarIndexFromCarId(59999), -1);
    const char letters[] = "fgsrvbamx";
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(letters[i]);
        EXPECT_EQ(OpponentBitFromLetter(letters[i]), OpponentBitFromIndex(i));
        EXPECT_EQ(OpponentBitFromLetter(static_cast<char>(letters[i] - 'a' + 'A')), 0);
    }
    EXPECT_EQ(OpponentBitFromIndex(4), 65536);
    EXPECT_EQ(OpponentBitFromIndex(9), 0);
    EXPECT_EQ(OpponentBitFromIndex(-1), 0);
}

TEST(RaceSetup, TrackNamesAreCutAndTerminated) {
    CRaceSetup setup;
    ClearRaceSetup(setup);
    std::string longName(300, 'n');
    SetRaceTrackFile(setup, longName.c_str());
    EXPECT_EQ(std::strlen(setup.trackFile), static_cast<std::size_t>(kTrackFileSize - 1));
    SetRaceTrackFile(setup, nullptr);
    EXPECT_EQ(setup.trackFile[0], '\0');
}

} // namespace
