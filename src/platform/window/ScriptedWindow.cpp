#include "platform/window/ScriptedWindow.h"

namespace plat::window {

bool ScriptedWindow::NextEvent(Event& event) {
    if (m_events.empty())
        return false;
    event = m_events.front();
    m_events.pop_front();
    return true;
}

void ScriptedWindow::PostQuit() {
    Event quit;
    quit.kind = EventKind::Quit;
    m_events.push_back(quit);
}

bool ScriptedWindow::IsButtonDown(int button) const {
    if (button == kButtonLeft)
        return m_left;
    if (button == kButtonRight)
        return m_right;
    return false;
}

void ScriptedWindow::SetButtonDown(int button, bool down) {
    if (button == kButtonLeft)
        m_left = down;
    else if (button == kButtonRight)
        m_right = down;
}

} // namespace plat::window
