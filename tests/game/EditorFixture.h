#pragma once

// The game in its track editor, headless on the sample set: the editor's world with a fresh track, and
// a camera that looks straight down on a chosen cell so that the pointer in the middle of the screen
// lies on that cell.

#include "HeadlessGame.h"

#include "construct/WorldConstructMan.h"
#include "world/TrackObject.h"

#include <gtest/gtest.h>

#include <string>

namespace gametest {

class EditorFixture : public testing::Test {
protected:
    /// Jungle pieces of the sample set.
    static constexpr int kStart = 15205;
    static constexpr int kStraight = 15201;
    static constexpr int kLongStraight = 15202;
    static constexpr int kCorner = 15203;
    static constexpr int kOpen = 15225;
    static constexpr int kClosed = 15246;
    static constexpr int kScenery = 15262;
    static constexpr int kPlaza = 15216;
    static constexpr int kHeightBlock = 15292;
    static constexpr int kGround = 15270;

    explicit EditorFixture(GameSetup setup = {}) : game(std::move(setup)) {}

    /// The game started and in the editor with its panel shown.
    void SetUp() override;
    /// A new track on a grid of 8 x 8 (0) or 16 x 16 cells (1): the start piece alone, message 51's way.
    void NewTrack(int sizeIndex);
    /// Puts the camera 100 units up, looking down, so that window point (px, py) lies over the middle
    /// of cell (x, z) on the ground; moves the pointer there and runs the frames that bring it in. The
    /// editor's own camera is taken off for the rest of the test.
    void Aim(int x, int z, int px = 320, int py = 240);
    /// A click of `button` (0 left, 2 right) at window point (x, y), and the frame that takes it.
    void ClickAt(int x, int y, int button);
    void Click(int button = 0) { ClickAt(320, 240, button); }
    /// A piece placed with the track-edit operations.
    zentrix::CTrackObject* Place(int id, int x, int z, int rotation);
    /// The type id of the piece on a cell ("-" none) with its rotation: "15201/1".
    std::string PieceAt(int x, int z);
    /// How many times help item `id` was played.
    int Helps(int id) { return Count(game.log, "help " + std::to_string(id)); }

    zentrix::CWorldConstructMan& Editor() { return *game.App().GetConstructWorld(); }

    HeadlessGame game;
};

} // namespace gametest
