#pragma once

#include "construct/ConstructPrinter.h"

namespace zentrix {

/// The editor's printing through the application's print manager (nothing can be printed without one).
class CEditorPrinter : public IConstructPrinter {
public:
    bool IsPrintingAvailable() override;
    bool PrintLandscape(const plat::gfx2d::Surface* surface, const plat::gfx2d::Rect& rect) override;
};

} // namespace zentrix
