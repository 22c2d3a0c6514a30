#pragma once

#include "foundation/base/ManagerInterface.h"
#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Surface.h"
#include "platform/print/Printer.h"

#include <memory>

namespace zentrix {

class IPrintServices;

/// Prints a picture of the screen on the printer. A request copies a rectangle of a surface into an
/// 800 x 800 canvas and queues a job, which the main loop prints after the next window message; while
/// the game window is minimised the printer is asked every 5000 ms whether it is done, and the window is
/// shown again when it is. Printing is available only when a printer was found at the start; otherwise a
/// request plays a help item saying so.
class CPrintManager : public CManagerInterface {
public:
    static constexpr int kCanvasSize = 800;
    /// The page's part of the canvas: 800 x 600 in landscape, 600 x 800 in portrait.
    static constexpr int kPageLong = 800;
    static constexpr int kPageShort = 600;
    static constexpr int kSpoolerPollMs = 5000;
    /// The help item of a request that cannot be printed.
    static constexpr int kHelpNoPrinter = 57018;
    /// The canvas's fill: white.
    static constexpr std::uint32_t kWhite = 0xFFFF;
    /// The print job's name.
    static constexpr const char* kDocumentName = "KAVO Zentrix";

    /// A print manager printing on `printer` with `services`, which outlive it.
    CPrintManager(std::unique_ptr<plat::print::Printer> printer, IPrintServices& services);
    ~CPrintManager() override;
    CPrintManager(const CPrintManager&) = delete;
    CPrintManager& operator=(const CPrintManager&) = delete;

    /// Looks for a printer: without one printing becomes unavailable and the start succeeds; with one
    /// the canvas is made (1 when it cannot be) and cleared; 0.
    int StartManager() override;
    /// Drops a job that has not run, releases the canvas and clears every flag; 0. A job already run
    /// belongs to the print system and prints.
    int StopManager() override;

    bool IsPrintingAvailable() const { return m_available; }
    /// Printing is unavailable from now on.
    void DisablePrinting() { m_available = false; }
    /// The next job prints in landscape (cleared after each job).
    void SetLandscape(bool on) { m_landscape = on; }
    /// Copies `rect` of `surface`, fitted into the page, onto the cleared canvas and queues the job;
    /// false when printing is unavailable (the help item plays), busy, without a canvas, or the copy fails.
    bool PrintPicture(const plat::gfx2d::Surface* surface, const plat::gfx2d::Rect& rect);
    /// Prints the queued job; false when none is queued or it cannot be printed. Busy, the landscape
    /// flag and the canvas are cleared on every path that takes the job.
    bool ProcessPendingJob();
    /// The spooler poll; true when the printer was found done (the window is shown again).
    bool Update(int ms);
    bool IsJobPending() const { return m_jobPending; }
    bool IsBusy() const { return m_busy; }
    bool IsLandscape() const { return m_landscape; }
    bool IsWaitingForSpooler() const { return m_waitingForSpooler; }
    const plat::gfx2d::Surface* GetCanvas() const { return m_canvas.get(); }

    /// `rect` centred in `page`, cut to fit it with its proportions kept as far as whole numbers go.
    static plat::gfx2d::Rect FitRect(plat::gfx2d::Rect rect, const plat::gfx2d::Rect& page);
    /// Where a picture of `width` x `height` prints on a page of `page`: as large as 90 percent of
    /// the page allows with its proportions, centred.
    static plat::gfx2d::Rect PlaceOnPage(int width, int height, plat::print::PageSize page);
    /// The page's part of the canvas.
    plat::gfx2d::Rect PageRect() const;

private:
    bool QueueJob();
    void ClearCanvas();
    bool DropJob();

    std::unique_ptr<plat::print::Printer> m_printer;
    IPrintServices& m_services;
    std::unique_ptr<plat::gfx2d::Surface> m_canvas;
    bool m_available = true;
    bool m_busy = false;
    bool m_jobPending = false;
    bool m_landscape = false;
    bool m_waitingForSpooler = false;
    int m_spoolerTimer = 0;
};

} // namespace zentrix
