#include "frontend/PrintManager.h"

#include "frontend/PrintServices.h"
#include "platform/system/DebugOutput.h"
#include "platform/window/Window.h"

namespace zentrix {

using plat::gfx2d::Rect;

CPrintManager::CPrintManager(std::unique_ptr<plat::print::Printer> printer, IPrintServices& services)
    : m_printer(std::move(printer)), m_services(services) {}

CPrintManager::~CPrintManager() {
    CPrintManager::StopManager();
}

int CPrintManager::StartManager() {
    if (StopManager() != 0)
        return 1;
    if (m_available) {
        const std::optional<std::string> name = m_printer ? m_printer->DefaultPrinter() : std::nullopt;
        if (!name || !m_printer->GetPageSize(*name, false)) {
            plat::system::DebugOutput("print: no printer found; printing is not available");
            m_available = false;
            return 0;
        }
    }
    if (!m_available)
        return 0;
    m_canvas = m_services.CreateCanvas(kCanvasSize, kCanvasSize);
    if (!m_canvas) {
        StopManager();
        return 1;
    }
    ClearCanvas();
    m_started = true;
    return 0;
}

int CPrintManager::StopManager() {
    // A job is handed to the print system whole, within ProcessPendingJob, and is the print system's from
    // then on (like any spooled job, it prints after the game has gone). So the only job there is to stop
    // is one queued and not yet run: it is dropped with the canvas that holds its picture.
    m_canvas.reset();
    m_busy = false;
    m_jobPending = false;
    m_landscape = false;
    m_waitingForSpooler = false;
    m_spoolerTimer = 0;
    m_started = false;
    return 0;
}

Rect CPrintManager::PageRect() const {
    return m_landscape ? Rect{0, 0, kPageLong, kPageShort} : Rect{0, 0, kPageShort, kPageLong};
}

Rect CPrintManager::FitRect(Rect rect, const Rect& page) {
    const int w = rect.Width();
    const int h = rect.Height();
    Rect r;
    r.left = page.left + (page.Width() / 2 - w / 2);
    r.right = r.left + w;
    r.top = page.top + (page.Height() / 2 - h / 2);
    r.bottom = r.top + h;
    if (page.Width() < w) {
        const int e = w - page.Width();
        r.left += e / 2;
        r.right -= e / 2;
        const int k = r.Height() / (w / e);
        r.top += k / 2;
        r.bottom -= k / 2;
    }
    const int height = r.Height();
    if (page.Height() < height) {
        const int e = height - page.Height();
        r.top += e / 2;
        r.bottom -= e / 2;
        const int k = r.Width() / (height / e);
        r.left += k / 2;
        r.right -= k / 2;
    }
    return r;
}

Rect CPrintManager::PlaceOnPage(int width, int height, plat::print::PageSize page) {
    if (width <= 0 || height <= 0 || page.width <= 0 || page.height <= 0)
        return {};
    const int maxWidth = page.width - page.width / 10;
    const int maxHeight = page.height - page.height / 10;
    int w = maxWidth;
    int h = maxHeight;
    if (double(maxWidth) * height / width <= maxHeight)
        h = static_cast<int>(double(maxWidth) * height / width);
    else
        w = static_cast<int>(double(maxHeight) * width / height);
    const int left = page.width / 2 - w / 2;
    const int top = page.height / 2 - h / 2;
    return {left, top, left + w, top + h};
}

void CPrintManager::ClearCanvas() {
    if (m_canvas && !m_busy)
        m_canvas->Fill(nullptr, kWhite);
}

bool CPrintManager::PrintPicture(const plat::gfx2d::Surface* surface, const Rect& rect) {
    if (!m_available) {
        m_services.PlayHelp(kHelpNoPrinter, 1);
        return false;
    }
    if (!m_canvas || m_busy || !surface)
        return false;
    ClearCanvas();
    // Odd cuts may leave the fitted rectangle a pixel over the page; the page's edge holds.
    const Rect fitted = FitRect(rect, PageRect()).Intersect(PageRect());
    if (m_canvas->Blt(&fitted, surface, &rect, plat::gfx2d::kBltWait) != plat::gfx2d::Result::Ok) {
        plat::system::DebugOutput("print: the picture's rectangle does not lie on its surface");
        return false;
    }
    return QueueJob();
}

bool CPrintManager::QueueJob() {
    if (!m_canvas || m_busy || m_jobPending || !m_available)
        return false;
    m_busy = true;
    m_jobPending = true;
    m_waitingForSpooler = true;
    return true;
}

bool CPrintManager::DropJob() {
    m_jobPending = false;
    m_busy = false;
    m_landscape = false;
    ClearCanvas();
    return false;
}

bool CPrintManager::ProcessPendingJob() {
    if (!m_jobPending || !m_available)
        return false;
    m_jobPending = false;
    const std::optional<std::string> name = m_printer->DefaultPrinter();
    const std::optional<plat::print::PageSize> page =
        name ? m_printer->GetPageSize(*name, m_landscape) : std::nullopt;
    if (!page) {
        plat::system::DebugOutput("print: the printer has gone; the picture is not printed");
        return DropJob();
    }
    const Rect area = PageRect();
    plat::print::RgbPicture picture =
        plat::print::RgbPicture::Filled(area.Width(), area.Height(), 255, 255, 255);
    plat::gfx2d::SurfaceView view;
    if (!m_canvas || m_canvas->Lock(view) != plat::gfx2d::Result::Ok)
        return DropJob();
    for (int y = 0; y < area.Height(); ++y) {
        const std::uint16_t* row = view.Row16(area.top + y) + area.left;
        for (int x = 0; x < area.Width(); ++x) {
            const std::uint32_t rgb = plat::gfx2d::UnpackRgb565(row[x]);
            std::uint8_t* out = picture.At(x, y);
            out[0] = static_cast<std::uint8_t>(rgb >> 16);
            out[1] = static_cast<std::uint8_t>(rgb >> 8);
            out[2] = static_cast<std::uint8_t>(rgb);
        }
    }
    m_canvas->Unlock();
    const bool printed = m_printer->PrintPage(*name, kDocumentName, picture,
                                              PlaceOnPage(area.Width(), area.Height(), *page), m_landscape);
    if (!printed)
        plat::system::DebugOutput("print: the printer refused the page");
    m_busy = false;
    ClearCanvas();
    m_landscape = false;
    return printed;
}

bool CPrintManager::Update(int ms) {
    if (!m_available || !m_waitingForSpooler)
        return false;
    m_spoolerTimer -= ms;
    if (m_spoolerTimer >= 1)
        return false;
    m_spoolerTimer = kSpoolerPollMs;
    plat::window::Window* window = m_services.GetWindow();
    if (!window || !window->IsMinimised())
        return false;
    const std::optional<std::string> name = m_printer->DefaultPrinter();
    if (!name) {
        m_waitingForSpooler = false;
        return true;
    }
    if (m_printer->IsBusy(*name))
        return false;
    m_waitingForSpooler = false;
    window->ShowMaximised();
    return true;
}

} // namespace zentrix
