#include "platform/window/ScriptedWindow.h"

namespace plat::window {

bool ScriptedWindow::NextEvent(Event& event) {
    if (events_.empty())
        return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

void ScriptedWindow::PostQuit() {
    Event quit;
    quit.kind = EventKind::Quit;
    events_.push_back(quit);
}

bool ScriptedWindow::IsButtonDown(int button) const {
    if (button == kButtonLeft)
        return left_;
    if (button == kButtonRight)
        return right_;
    return false;
}

void ScriptedWindow::SetButtonDown(int button, bool down) {
    if (button == kButtonLeft)
        left_ = down;
    else if (button == kButtonRight)
        right_ = down;
}

} // namespace plat::window
