#include "platform/gfx2d/Presenter.h"

namespace plat::gfx2d {

bool HeadlessPresenter::Present(const SurfaceView& /*picture*/) {
    ++m_count;
    return true;
}

} // namespace plat::gfx2d
