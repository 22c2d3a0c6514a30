#include "platform/gfx2d/Screen.h"

namespace plat::gfx2d {

std::unique_ptr<Screen> Screen::Create(Size size, std::unique_ptr<Presenter> presenter) {
    if (!presenter)
        return nullptr;
    auto primary = Surface::Create(size, kFormat565);
    auto back = Surface::Create(size, kFormat565);
    if (!primary || !back)
        return nullptr;
    return std::unique_ptr<Screen>(new Screen(std::move(primary), std::move(back), std::move(presenter)));
}

Screen::Screen(std::unique_ptr<Surface> primary, std::unique_ptr<Surface> back,
               std::unique_ptr<Presenter> presenter)
    : m_primary(std::move(primary)), m_back(std::move(back)), m_presenter(std::move(presenter)) {}

Result Screen::Flip() {
    if (Result r = m_primary->Blt(nullptr, m_back.get(), nullptr, 0); r != Result::Ok)
        return r;
    SurfaceView shown;
    if (Result r = m_primary->Lock(shown); r != Result::Ok)
        return r;
    const bool presented = m_presenter->Present(shown);
    m_primary->Unlock();
    return presented ? Result::Ok : Result::PresentFailed;
}

} // namespace plat::gfx2d
