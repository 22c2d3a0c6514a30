#pragma once

#include "foundation/assets/PictureFactory.h"

namespace zentrix {

class CSurfaceMan;

/// Pictures made on the surface manager's off-screen surfaces.
class CSurfacePictures : public IPictureFactory {
public:
    /// Pictures on `surfaces` (null: none can be made).
    explicit CSurfacePictures(CSurfaceMan* surfaces) : m_surfaces(surfaces) {}

    std::unique_ptr<CBitmap> MakePicture(std::vector<std::uint8_t> bytes) override;

private:
    CSurfaceMan* m_surfaces;
};

} // namespace zentrix
