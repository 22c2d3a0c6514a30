#include "app/Win.h"

#include "app/App.h"
#include "app/AppParts.h"
#include "foundation/base/EventMan.h"
#include "platform/input/SdlInputSystem.h"
#include "platform/window/SdlWindow.h"
#include "platform/window/Window.h"
#include "render/EngineMan.h"
#include "ui/SlideOutMan.h"

#include <algorithm>
#include <cstdint>

namespace zentrix {

using plat::window::Event;
using plat::window::EventKind;

CWin::CWin(std::unique_ptr<plat::window::Window> window, std::string openError)
    : m_window(std::move(window)), m_openError(std::move(openError)) {}

std::unique_ptr<CWin> CWin::OpenMain(int width, int height) {
    auto window = plat::window::SdlWindow::OpenMain(kTitle, width, height,
                                                    plat::window::SdlWindow::IsWindowedRequested());
    if (!window->IsOpen())
        return std::make_unique<CWin>(nullptr, window->OpenError());
    // Joystick button changes pass through the window's event drain on their way to the devices.
    window->SetJoystickHandler(&plat::input::SdlInputSystem::HandleEvent);
    return std::make_unique<CWin>(std::move(window));
}

CWin::~CWin() = default;

void CWin::WindowProc(const Event& event) {
    CApp* app = g_pApp;
    // During start-up and shut-down every event gets the default handling, which for our window is none.
    if (!app || !app->IsRunning() || app->GetWin() != this)
        return;
    CEventMan* events = app->GetEventMan();
    CSlideOutMan* panels = app->GetSlideOutMan();

    switch (event.kind) {
    case EventKind::MouseMove: {
        bool wide = app->GetVideoMode() == 1;
        int x = static_cast<std::int16_t>(event.x);
        int y = static_cast<std::int16_t>(event.y);
        m_mouseX = std::min(x, wide ? GetMaxMouseX800() : GetMaxMouseX());
        m_mouseY = std::min(y, wide ? GetMaxMouseY800() : GetMaxMouseY());
        if (events) {
            events->SetMouseMessage(m_mouseX, m_mouseY, VORNMSG_MOUSE_POSITION);
            events->SetMouseMessage(m_mouseX, m_mouseY, VORNMSG_SLIDEOUT_MOUSE_MOVE);
        }
        break;
    }
    case EventKind::ButtonDown:
        if (panels)
            panels->OnButtonDown(m_mouseX, m_mouseY, event.button);
        break;
    case EventKind::ButtonUp:
        if (panels)
            panels->OnButtonUp(m_mouseX, m_mouseY, event.button);
        if (events) {
            // The release itself carries where it happened; the panels and the editor use the stored
            // (clamped) position.
            events->SetButtonMessage(event.x, event.y, event.button, VORNMSG_MOUSE_BUTTON_UP);
            events->SetButtonMessage(m_mouseX, m_mouseY, event.button, VORNMSG_CONSTRUCT_CLICK);
            events->SetButtonMessage(m_mouseX, m_mouseY, event.button, VORNMSG_SLIDEOUT_CLICK);
        }
        break;
    case EventKind::Wheel:
        if (panels)
            panels->OnMouseWheel(event.wheelDelta);
        break;
    case EventKind::Char:
        if (panels)
            panels->OnChar(event.character);
        break;
    case EventKind::Key:
        if (events)
            events->SetKeyMessage(event.key);
        break;
    case EventKind::Close:
        // Closing asks the game to quit; it shows its exit pictures first and keeps the window meanwhile.
        if (events)
            events->PostMessage(VORNMSG_QUIT_REQUEST);
        break;
    case EventKind::Activated:
        if (panels)
            panels->Reactivate();
        app->GetParts().ResetRaceTauntPanel();
        if (CEngineMan* engine = app->GetEngineMan())
            engine->RecreateCursor();
        break;
    case EventKind::Quit:
        break;
    }
}

} // namespace zentrix
