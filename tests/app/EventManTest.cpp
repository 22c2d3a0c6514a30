#include "foundation/base/EventMan.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

class EventManTest : public testing::Test {
protected:
    void SetUp() override { events.StartManager(); }
    CEventMan events;
};

TEST_F(EventManTest, ANewerLatestMessageReplacesTheOlderAndIsTakenOnce) {
    events.SetMouseMessage(10, 20, VORNMSG_MOUSE_POSITION);
    events.SetMouseMessage(30, 40, VORNMSG_MOUSE_POSITION);
    CMessage taken;
    ASSERT_TRUE(events.GetLatest(VORNMSG_MOUSE_POSITION, &taken));
    EXPECT_EQ(taken.GetParam(0), 30.0);
    EXPECT_EQ(taken.GetParam(1), 40.0);
    EXPECT_FALSE(events.GetLatest(VORNMSG_MOUSE_POSITION, &taken));
    // Taking a latest message leaves the queue alone.
    EXPECT_EQ(events.GetPendingCount(VORNMSG_MOUSE_POSITION), 0u);
}

TEST_F(EventManTest, FindWithRemoveTakesTheOlderOfTwoQuitRequests) {
    CMessage first(VORNMSG_QUIT_REQUEST, 1.0);
    CMessage second(VORNMSG_QUIT_REQUEST, 2.0);
    events.PostMessage(VORNMSG_HIDE_POINTER);
    events.QueueMessage(first);
    events.QueueMessage(second);

    CMessage found;
    ASSERT_TRUE(events.FindMessage(VORNMSG_QUIT_REQUEST, &found, false));
    EXPECT_EQ(found.GetSerial(), first.GetSerial());
    EXPECT_EQ(events.GetPendingCount(VORNMSG_QUIT_REQUEST), 2u) << "a find without remove changes nothing";

    ASSERT_TRUE(events.FindMessage(VORNMSG_QUIT_REQUEST, &found, true));
    EXPECT_EQ(found.GetSerial(), first.GetSerial());
    EXPECT_EQ(events.GetPendingCount(VORNMSG_QUIT_REQUEST), 1u);
    ASSERT_TRUE(events.FindMessage(VORNMSG_QUIT_REQUEST, &found, true));
    EXPECT_EQ(found.GetSerial(), second.GetSerial());
    EXPECT_FALSE(events.FindMessage(VORNMSG_QUIT_REQUEST, nullptr, true));
    EXPECT_TRUE(events.FindMessage(VORNMSG_HIDE_POINTER, nullptr, false)) << "other types stay queued";
}

TEST_F(EventManTest, TheSameMessageQueuedTwiceIsFoundTwice) {
    CMessage command(54, 7.0);
    events.QueueMessage(command);
    events.QueueMessage(command);
    CMessage found;
    ASSERT_TRUE(events.FindMessage(54, &found, true));
    ASSERT_TRUE(events.FindMessage(54, &found, true));
    EXPECT_EQ(found.GetParam(0), 7.0);
    EXPECT_FALSE(events.FindMessage(54, &found, true));
    EXPECT_EQ(events.GetPendingCount(54), 0u);
}

TEST_F(EventManTest, ClearDropsQueuedAndLatestMessagesAlike) {
    events.PostMessage(VORNMSG_QUIT_REQUEST);
    events.SetKeyMessage(0x1B);
    events.Clear();
    EXPECT_FALSE(events.FindMessage(VORNMSG_QUIT_REQUEST, nullptr, false));
    EXPECT_FALSE(events.GetLatest(VORNMSG_KEY_DOWN, nullptr));
    // And the manager still works afterwards.
    events.PostMessage(VORNMSG_QUIT_REQUEST);
    EXPECT_TRUE(events.FindMessage(VORNMSG_QUIT_REQUEST, nullptr, false));
}

TEST_F(EventManTest, ACopyKeepsItsSerialAndNewMessagesGetNewOnes) {
    CMessage a(5, 1.0);
    CMessage copy(a);
    CMessage b(5, 1.0);
    EXPECT_EQ(copy.GetSerial(), a.GetSerial());
    EXPECT_TRUE(copy == a);
    EXPECT_FALSE(b == a);
}

TEST_F(EventManTest, NegativeCoordinatesAndKeysKeepTheirSign) {
    events.SetButtonMessage(-5, -1, 2, VORNMSG_MOUSE_BUTTON_UP);
    events.SetKeyMessage(-3);
    CMessage m;
    ASSERT_TRUE(events.GetLatest(VORNMSG_MOUSE_BUTTON_UP, &m));
    EXPECT_EQ(static_cast<int>(m.GetParam(0)), -5);
    EXPECT_EQ(static_cast<int>(m.GetParam(1)), -1);
    EXPECT_EQ(static_cast<int>(m.GetParam(2)), 2);
    ASSERT_TRUE(events.GetLatest(VORNMSG_KEY_DOWN, &m));
    EXPECT_EQ(static_cast<int>(m.GetParam(0)), -3);
}

TEST_F(EventManTest, TypesOutsideTheTableAreRefused) {
    for (int type : {-1, CEventMan::kTypeCount, 100000}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(events.PostMessage(type));
        EXPECT_FALSE(events.QueueMessage(CMessage(type)));
        EXPECT_FALSE(events.SetLatest(CMessage(type)));
        EXPECT_FALSE(events.FindMessage(type, nullptr, true));
        EXPECT_FALSE(events.GetLatest(type, nullptr));
    }
    EXPECT_TRUE(events.PostMessage(CEventMan::kTypeCount - 1));
    EXPECT_TRUE(events.PostMessage(0));
}

TEST_F(EventManTest, MoreThan255QueuedMessagesOfOneTypeAreAllFound) {
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(events.PostMessage(34));
    int found = 0;
    while (events.FindMessage(34, nullptr, true))
        ++found;
    EXPECT_EQ(found, 300);
}

TEST_F(EventManTest, StopEmptiesTheQueue) {
    events.PostMessage(VORNMSG_SHOW_POINTER);
    events.SetPointerMessage(42);
    events.StopManager();
    EXPECT_FALSE(events.IsStarted());
    EXPECT_FALSE(events.FindMessage(VORNMSG_SHOW_POINTER, nullptr, false));
    EXPECT_FALSE(events.GetLatest(VORNMSG_SET_POINTER, nullptr));
}

} // namespace
