#include "platform/window/Window.h"

#include "platform/gfx2d/Presenter.h"
#include "platform/input/SdlInputSystem.h"

namespace plat::window {

std::unique_ptr<gfx2d::Presenter> Window::CreatePresenter(gfx2d::Size /*pictureSize*/) {
    return std::make_unique<gfx2d::HeadlessPresenter>();
}

std::unique_ptr<input::InputSystem> Window::CreateInputSystem() {
    return input::SdlInputSystem::Open(nullptr);
}

std::unique_ptr<gfx2d::Presenter> CreatePresenterFor(Window* window, gfx2d::Size pictureSize) {
    return window ? window->CreatePresenter(pictureSize) : std::make_unique<gfx2d::HeadlessPresenter>();
}

std::unique_ptr<input::InputSystem> CreateInputSystemFor(Window* window) {
    return window ? window->CreateInputSystem() : input::SdlInputSystem::Open(nullptr);
}

} // namespace plat::window
