#include "AppDoubles.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using appdoubles::Log;
using appdoubles::TestApp;
using plat::window::Event;
using plat::window::EventKind;

Event Make(EventKind kind, int x = 0, int y = 0, int button = 0) {
    Event e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.button = button;
    return e;
}

struct Position {
    double x, y, button;
    friend bool operator==(const Position&, const Position&) = default;
};

Position Latest(CEventMan& events, int type) {
    CMessage m;
    if (!events.GetLatest(type, &m))
        return {-99, -99, -99};
    return {m.GetParam(0), m.GetParam(1), m.GetParam(2)};
}

class WinTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(t.app->StartManager(), 0);
        events = t.app->GetEventMan();
        events->Clear();
        t.log.clear();
    }
    void Send(const Event& e) {
        t.parts->window->Push(e);
        t.app->Run(false);
    }
    TestApp t;
    CEventMan* events = nullptr;
};

TEST_F(WinTest, ThePointerIsClampedToTheLimitsOfTheVideoMode) {
    struct Case {
        int mode, x, y, storedX, storedY;
    };
    const Case cases[] = {
        {0, 630, 470, 620, 460}, {2, 630, 470, 620, 460}, {1, 790, 590, 770, 570},
        {1, 630, 470, 630, 470}, {0, 12, 34, 12, 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " at " << c.x << "," << c.y);
        t.app->SetVideoMode(c.mode);
        Send(Make(EventKind::MouseMove, c.x, c.y));
        EXPECT_EQ(t.app->GetWin()->GetMouseX(), c.storedX);
        EXPECT_EQ(t.app->GetWin()->GetMouseY(), c.storedY);
        Position stored{double(c.storedX), double(c.storedY), 0};
        EXPECT_EQ(Latest(*events, VORNMSG_MOUSE_POSITION), stored);
        EXPECT_EQ(Latest(*events, VORNMSG_SLIDEOUT_MOUSE_MOVE), stored);
    }
}

TEST_F(WinTest, AReleaseCarriesItsOwnPositionOnlyInTheButtonUpMessage) {
    Send(Make(EventKind::MouseMove, 635, 475));
    Send(Make(EventKind::ButtonDown, 600, 400, 2));
    Send(Make(EventKind::ButtonUp, 639, 479, 2));
    EXPECT_EQ(Latest(*events, VORNMSG_MOUSE_BUTTON_UP), (Position{639, 479, 2}));
    EXPECT_EQ(Latest(*events, VORNMSG_SLIDEOUT_CLICK), (Position{620, 460, 2}));
    EXPECT_EQ(Latest(*events, VORNMSG_CONSTRUCT_CLICK), (Position{620, 460, 2}));
    // The panels get the stored position for both the press and the release.
    EXPECT_EQ(t.log, (Log{"down 620,460 2", "up 620,460 2"}));
}

TEST_F(WinTest, WheelCharactersAndKeysGoWhereTheyBelong) {
    Event wheel = Make(EventKind::Wheel);
    wheel.wheelDelta = -240;
    Event character = Make(EventKind::Char);
    character.character = 0xE9;
    Event key = Make(EventKind::Key);
    key.key = 0x1B;
    Send(wheel);
    Send(character);
    Send(key);
    EXPECT_EQ(t.log, (Log{"wheel -240", "char 233"}));
    EXPECT_EQ(Latest(*events, VORNMSG_KEY_DOWN).x, 0x1B);
}

TEST_F(WinTest, ACloseQueuesAQuitRequestAndKeepsTheWindow) {
    Send(Make(EventKind::Close));
    EXPECT_EQ(events->GetPendingCount(VORNMSG_QUIT_REQUEST), 1u);
    EXPECT_FALSE(t.app->IsQuitting());
    EXPECT_NE(t.app->GetWin()->GetHwnd(), nullptr);
}

TEST_F(WinTest, ActivationRebuildsPanelsTauntPanelAndPointer) {
    Send(Make(EventKind::Activated));
    EXPECT_EQ(t.log, (Log{"reactivate", "taunt panel", "cursor"}));
}

TEST(WinBeforeRunning, NothingActsBeforeTheApplicationRuns) {
    TestApp t;
    // The input manager refuses to start, so the start ends with the window and messages made but the
    // application never running.
    t.script.inputStart = 1;
    ASSERT_EQ(t.app->StartManager(), 1);
    ASSERT_FALSE(t.app->IsRunning());
    t.log.clear();
    for (EventKind kind : {EventKind::MouseMove, EventKind::ButtonDown, EventKind::ButtonUp, EventKind::Close,
                           EventKind::Activated, EventKind::Key})
        t.parts->window->Push(Make(kind, 100, 100));
    t.app->Run(false);
    EXPECT_TRUE(t.log.empty());
    EXPECT_EQ(t.app->GetWin()->GetMouseX(), -1);
    EXPECT_EQ(t.app->GetEventMan()->GetPendingCount(VORNMSG_QUIT_REQUEST), 0u);
    EXPECT_FALSE(t.app->GetEventMan()->GetLatest(VORNMSG_MOUSE_POSITION, nullptr));
}

} // namespace
