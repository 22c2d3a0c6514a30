// Builds overlays from arbitrary picture bytes and a panel record read from the same bytes: the first
// bytes give piece rows and picture ids, the rest is the picture. No crash, no read outside the data,
// no surface asked of the display that it must refuse; every piece drawn onto a screen.
#include "render/CompoundOverlay.h"
#include "render/OverlayServices.h"
#include "render/SubOverlay.h"
#include "render/SurfaceMan.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

using namespace zentrix;

namespace {

class BytesServices final : public IOverlayServices {
public:
    BytesServices(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    CSurfaceMan* GetSurfaceMan() override { return &m_surfaces; }
    std::unique_ptr<plat::gfx2d::Surface> CreateDDSurface(int width, int height) override {
        plat::gfx2d::SurfaceRequest request;
        request.size = {width, height};
        auto surface = m_factory.CreateSurface(request);
        if (!surface)
            throw std::runtime_error("CreateSurface failure");
        return surface;
    }
    bool GetAssetData(int id, std::vector<std::uint8_t>& out) override {
        if (id != 7 || m_size < 16)
            return false;
        out.assign(m_data + 16, m_data + m_size);
        return true;
    }
    bool GetInt(int, int dataId, int& out, int element) override {
        // Two rows of pieces from the first 12 bytes (signed), one picture id.
        out = 0;
        if (dataId == CCompoundOverlay::kFieldPictures)
            out = element < 2 ? 7 : 0;
        else if (element < 2 && dataId >= 130 && dataId <= 135 && m_size >= 12)
            out = static_cast<std::int8_t>(m_data[element * 6 + (dataId - 130)]) * 4;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    plat::gfx2d::MemorySurfaceFactory m_factory;
    CSurfaceMan m_surfaces{m_factory};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BytesServices services(data, size);
    SetOverlayServices(&services);
    auto screen = plat::gfx2d::Surface::Create({64, 48}, plat::gfx2d::kFormat565);
    {
        COverlay picture(7);
        picture.SetPosition(-3, 5);
        picture.Blit(screen.get());
        picture.IsTransparentAt(1, 1);
        CCompoundOverlay panel(1, 0);
        panel.SetPosition(10, -4);
        panel.SetSlideFraction(0.5f);
        panel.Blit(screen.get());
        panel.FillRect(0xFFFFFF, {0, 0, 8, 8});
        panel.BlitTo(2, 2, screen.get());
    }
    SetOverlayServices(nullptr);
    return 0;
}
