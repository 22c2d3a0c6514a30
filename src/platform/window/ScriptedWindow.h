#pragma once

#include "platform/window/Window.h"

#include <deque>

namespace plat::window {

/// A window for tests: hands out the events a test queued, in order, and keeps a set pointer state.
class ScriptedWindow final : public Window {
public:
    /// Queues `event` behind the ones already waiting.
    void Push(const Event& event) { m_events.push_back(event); }

    bool HasEvent() override { return !m_events.empty(); }
    bool NextEvent(Event& event) override;
    void PostQuit() override;
    gfx2d::Point CursorPosition() const override { return m_cursor; }
    bool IsButtonDown(int button) const override;
    bool IsMinimised() const override { return m_minimised; }
    void ShowMaximised() override { m_minimised = false; }

    /// Sets what CursorPosition reports.
    void SetCursor(gfx2d::Point p) { m_cursor = p; }
    /// Sets whether a button reads as held.
    void SetButtonDown(int button, bool down);
    /// Sets whether the window reads as minimised.
    void SetMinimised(bool minimised) { m_minimised = minimised; }

private:
    std::deque<Event> m_events;
    gfx2d::Point m_cursor;
    bool m_left = false;
    bool m_right = false;
    bool m_minimised = false;
};

} // namespace plat::window
