#include "UiFixtures.h"

#include <gtest/gtest.h>

using namespace zentrix;

using namespace uitest;

namespace {

/// A started manager of test panels, each with two probes: control 0 over the whole panel picture
/// (64 x 32), control 1 beside it. Panels hide at y = 480 and show at y = 100.
struct ManFixture {
    testsupport::RecordingPanelServices services;
    Log log;
    TestManager manager{services, log};

    ManFixture() {
        services.AddPicture(10, 64, 32, {0x10, 0x20, 0x30});
        for (int index = 0; index < CSlideOutMan::kIndexCount; ++index) {
            int id = manager.GetResourceId(index);
            services.SetInt(id, CSlideOut::kFieldPicture, 10);
            services.SetVector(id, CSlideOut::kFieldHiddenPosition, 0, 480);
            services.SetVector(id, CSlideOut::kFieldShownPosition, 0, 100);
            services.SetInt(id, CSlideOut::kFieldControlCount, 2);
            for (int i = 0; i < 2; ++i)
                services.SetInt(id, CSlideOut::kFieldControlType, kProbeType, i);
            services.SetInt(id, CControl::kFieldWidth, 64, 0);
            services.SetInt(id, CControl::kFieldHeight, 32, 0);
            services.SetInt(id, CControl::kFieldInactiveX, 100, 1);
        }
        manager.StartManager();
        log.clear();
    }
    /// Switches through `path`, lets every slide finish, and clears the logs.
    void Through(std::initializer_list<int> path) {
        for (int index : path) {
            manager.SwitchTo(index);
            Settle();
        }
        log.clear();
        services.log.clear();
    }
    void Settle() {
        for (int i = 0; i < 20; ++i)
            manager.Update(16);
    }
    /// The activation lines of the log ("A7", "D3 at once", ...).
    Log Moves() const {
        Log moves;
        for (const std::string& line : log)
            if (line[0] == 'A' || line[0] == 'D')
                moves.push_back(line);
        return moves;
    }
    int Front() const {
        for (int index = 0; index < CSlideOutMan::kIndexCount; ++index)
            if (manager.GetActiveSlideOut() && manager.GetActiveSlideOut() == manager.FindSlideOut(index))
                return index;
        return -1;
    }
};

} // namespace

TEST(SlideOutMan, SwitchesFollowTheStackingRules) {
    const struct {
        std::initializer_list<int> before;
        int to;
        Log moves;
        int front;
    } cases[] = {
        {{0}, 2, {"A2"}, 2},
        {{7}, 2, {"D7", "A0", "A2"}, 2},
        {{3}, 4, {"A4"}, 4},
        {{7}, 16, {"A16"}, 16},
        {{7}, 5, {"D7", "A5"}, 5},
        {{7}, 17, {"D7 at once", "A17"}, 17},
        {{17}, 7, {"D17 at once", "A7"}, 7},
        {{17}, 4, {"A4"}, 4},
        {{7, 16}, 5, {"D16"}, 5}, // the box slides out; 5 is in front without being activated
        {{7, 16}, -1, {"D16"}, -1},
        {{7}, 6, {"D7"}, -1}, // no panel for 6
        {{7}, -1, {"D7"}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << *(c.before.end() - 1) << " -> " << c.to);
        ManFixture f;
        f.Through(c.before);
        int previous = f.manager.GetCurrentSlideOutId();
        EXPECT_TRUE(f.manager.SwitchTo(c.to));
        EXPECT_EQ(f.Moves(), c.moves);
        EXPECT_EQ(f.Front(), c.front);
        EXPECT_EQ(f.manager.GetCurrentSlideOutId(), c.to);
        EXPECT_EQ(f.manager.GetPreviousSlideOutId(), previous);
        Log help;
        for (const std::string& line : f.services.log)
            if (line == "stop help" || line == "cancel hover")
                help.push_back(line);
        Log expectedHelp = {"stop help", "cancel hover"};
        EXPECT_EQ(help, previous == CSlideOutMan::kMessageBox ? Log{} : expectedHelp);
        EXPECT_FALSE(f.manager.SwitchTo(c.to)) << "already current";
    }
}

TEST(SlideOutMan, ClicksAndMovesReachAFullyShownFrontPanelOnItsPicture) {
    const struct {
        bool settled;
        plat::gfx2d::Point at;
        bool reaches;
    } cases[] = {{true, {5, 106}, true}, {true, {5, 140}, false}, {false, {5, 106}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.settled << " " << c.at.y);
        ManFixture f;
        f.manager.SwitchTo(7);
        if (c.settled)
            f.Settle();
        f.log.clear();
        f.services.latest[VORNMSG_SLIDEOUT_CLICK] = CMessage(VORNMSG_SLIDEOUT_CLICK, c.at.x, c.at.y, 0);
        f.services.latest[VORNMSG_SLIDEOUT_MOUSE_MOVE] =
            CMessage(VORNMSG_SLIDEOUT_MOUSE_MOVE, c.at.x, c.at.y);
        f.manager.Update(16);
        int y = c.at.y - 100;
        Log input;
        for (const std::string& line : f.log)
            if (line.rfind("click", 0) == 0 || line.rfind("move", 0) == 0)
                input.push_back(line);
        Log expected = {"click 0 5," + std::to_string(y), "click 1 5," + std::to_string(y),
                        "move 0 5," + std::to_string(y), "move 1 5," + std::to_string(y)};
        EXPECT_EQ(input, c.reaches ? expected : Log{});
    }
}

TEST(SlideOutMan, ButtonsCharactersAndWheelGoToTheFrontPanel) {
    ManFixture f;
    f.manager.SwitchTo(7);
    f.manager.OnChar('a'); // still sliding in
    f.manager.OnMouseWheel(120);
    f.manager.OnButtonDown(300, 200, 0);
    f.manager.OnButtonDown(300, 200, 2);
    f.manager.OnButtonUp(301, 201, 2);
    EXPECT_EQ(f.log, (Log{"A7", "draw 0", "draw 1", "down 0 300,200", "down 1 300,200", "up 0 301,201",
                          "up 1 301,201"}));
    f.Settle();
    f.log.clear();
    f.manager.OnChar('a');
    f.manager.OnMouseWheel(120);
    EXPECT_EQ(f.log, (Log{"char 97", "wheel 120"}));
}

TEST(SlideOutMan, AButtonHeldThirtyFiveFramesFiresOnce) {
    for (int releaseAt : {35, 0}) { // 0: never released
        SCOPED_TRACE(releaseAt);
        ManFixture f;
        f.Through({7});
        f.services.windowMouse = {30, 40};
        f.manager.OnButtonDown(30, 40, 2);
        f.services.heldButton = 2;
        for (int frame = 1; frame <= 40; ++frame) {
            if (frame == releaseAt)
                f.manager.OnButtonUp(30, 40, 2);
            f.manager.Update(16);
            int held = static_cast<int>(std::count(f.log.begin(), f.log.end(), "held 30,40 2"));
            EXPECT_EQ(held, releaseAt == 0 && frame >= 35 ? 1 : 0) << frame;
        }
    }
}

TEST(SlideOutMan, ReactivationSlidesTheCurrentPanelsInAgain) {
    const struct {
        std::initializer_list<int> path;
        Log activations;
        int front;
    } cases[] = {{{0, 2}, {"A0", "A2"}, 2},
                 {{7}, {"A7"}, 7},
                 {{3, 4}, {"A3", "A4"}, 4},
                 {{9}, {}, -1},
                 {{7, -1}, {}, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(*(c.path.end() - 1));
        ManFixture f;
        f.Through(c.path);
        f.manager.Reactivate();
        Log activations;
        for (const std::string& line : f.Moves())
            if (line[0] == 'A')
                activations.push_back(line);
        EXPECT_EQ(activations, c.activations);
        EXPECT_EQ(f.Front(), c.front);
    }
}
