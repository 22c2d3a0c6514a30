#pragma once

#include "frontend/PrintServices.h"

namespace zentrix {

/// The print manager's services through the application's managers; a missing manager answers as absent.
class CAppPrintServices : public IPrintServices {
public:
    std::unique_ptr<plat::gfx2d::Surface> CreateCanvas(int width, int height) override;
    void PlayHelp(int id, int priority) override;
    plat::window::Window* GetWindow() override;
};

} // namespace zentrix
