#include "frontend/EditorPrinter.h"

#include "app/App.h"
#include "frontend/PrintManager.h"

namespace zentrix {

namespace {

CPrintManager* PrintManager() {
    return g_pApp ? g_pApp->GetPrintManager() : nullptr;
}

} // namespace

bool CEditorPrinter::IsPrintingAvailable() {
    CPrintManager* printer = PrintManager();
    return printer && printer->IsPrintingAvailable();
}

bool CEditorPrinter::PrintLandscape(const plat::gfx2d::Surface* surface, const plat::gfx2d::Rect& rect) {
    CPrintManager* printer = PrintManager();
    if (!printer)
        return false;
    printer->SetLandscape(true);
    return printer->PrintPicture(surface, rect);
}

} // namespace zentrix
