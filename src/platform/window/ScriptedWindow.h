#pragma once

#include "platform/window/Window.h"

#include <deque>

namespace plat::window {

/// A window for tests: hands out the events a test queued, in order, and keeps a set pointer state.
class ScriptedWindow final : public Window {
public:
    /// Queues `event` behind the ones already waiting.
    void Push(const Event& event) { events_.push_back(event); }

    bool HasEvent() override { return !events_.empty(); }
    bool NextEvent(Event& event) override;
    void PostQuit() override;
    Point CursorPosition() const override { return cursor_; }
    bool IsButtonDown(int button) const override;
    bool IsMinimised() const override { return minimised_; }
    void ShowMaximised() override { minimised_ = false; }

    /// Sets what CursorPosition reports.
    void SetCursor(Point p) { cursor_ = p; }
    /// Sets whether a button reads as held.
    void SetButtonDown(int button, bool down);
    /// Sets whether the window reads as minimised.
    void SetMinimised(bool minimised) { minimised_ = minimised; }

private:
    std::deque<Event> events_;
    Point cursor_;
    bool left_ = false;
    bool right_ = false;
    bool minimised_ = false;
};

} // namespace plat::window
