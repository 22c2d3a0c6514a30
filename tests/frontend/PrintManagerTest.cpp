#include "PngPage.h"

#include "frontend/PrintManager.h"
#include "frontend/PrintServices.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/print/CupsPrinter.h"
#include "platform/print/FilePrinter.h"
#include "platform/window/ScriptedWindow.h"
#include "support/TempFolder.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace zentrix;
using plat::gfx2d::Rect;

namespace {

struct FakePrintServices : IPrintServices {
    std::unique_ptr<plat::gfx2d::Surface> CreateCanvas(int width, int height) override {
        return canvasMade ? plat::gfx2d::Surface::Create({width, height}, plat::gfx2d::kFormat565) : nullptr;
    }
    void PlayHelp(int id, int priority) override { help.push_back(id * 10 + priority); }
    plat::window::Window* GetWindow() override { return &window; }

    plat::window::ScriptedWindow window;
    bool canvasMade = true;
    std::vector<int> help; ///< item x 10 + priority
};

constexpr std::uint16_t kRed = plat::gfx2d::PackRgb565(255, 0, 0);
constexpr std::uint16_t kGreen = plat::gfx2d::PackRgb565(0, 255, 0);
constexpr std::uint16_t kBlue = plat::gfx2d::PackRgb565(0, 0, 255);
constexpr std::uint16_t kYellow = plat::gfx2d::PackRgb565(255, 255, 0);
constexpr std::uint16_t kWhite = 0xFFFF;

/// A print manager on the file printer, started, with a 640 x 480 screen picture in four quadrants:
/// red, green above; blue, yellow below.
struct Printing {
    explicit Printing(bool present = true) {
        auto file = std::make_unique<plat::print::FilePrinter>(folder.Path(), present);
        printer = file.get();
        manager = std::make_unique<CPrintManager>(std::move(file), services);
        start = manager->StartManager();
        const std::uint16_t colours[4] = {kRed, kGreen, kBlue, kYellow};
        for (int q = 0; q < 4; ++q) {
            const Rect r{(q % 2) * 320, (q / 2) * 240, (q % 2) * 320 + 320, (q / 2) * 240 + 240};
            screen->Fill(&r, colours[q]);
        }
    }
    bool Request() {
        manager->SetLandscape(true);
        return manager->PrintPicture(screen.get(), {0, 0, 640, 480});
    }
    std::uint16_t CanvasPixel(int x, int y) {
        auto* canvas = const_cast<plat::gfx2d::Surface*>(manager->GetCanvas());
        plat::gfx2d::SurfaceView view;
        canvas->Lock(view);
        const std::uint16_t p = view.Row16(y)[x];
        canvas->Unlock();
        return p;
    }

    testsupport::TempFolder folder;
    FakePrintServices services;
    plat::print::FilePrinter* printer = nullptr;
    std::unique_ptr<CPrintManager> manager;
    std::unique_ptr<plat::gfx2d::Surface> screen =
        plat::gfx2d::Surface::Create({640, 480}, plat::gfx2d::kFormat565);
    int start = -1;
};

} // namespace

TEST(PrintManager, APictureIsFittedIntoThePageAndThePageIntoThePrintersPaper) {
    struct Case {
        const char* name;
        Rect rect, page, fitted;
    };
    const Case fits[] = {
        {"the screen on a landscape page, unscaled", {0, 0, 640, 480}, {0, 0, 800, 600}, {80, 60, 720, 540}},
        {"800 x 600 on a portrait page: width cut by 100 a side, height by 75",
         {0, 0, 800, 600},
         {0, 0, 600, 800},
         {0, 175, 600, 625}},
        {"too high for a landscape page", {0, 0, 600, 800}, {0, 0, 800, 600}, {175, 0, 625, 600}},
    };
    for (const Case& c : fits)
        EXPECT_EQ(CPrintManager::FitRect(c.rect, c.page), c.fitted) << c.name;
    // 90 percent of 6600 x 4800 dots is 5940 x 4320: the height decides, 5760 x 4320 centred.
    EXPECT_EQ(CPrintManager::PlaceOnPage(800, 600, {6600, 4800}), (Rect{420, 240, 6180, 4560}));
    EXPECT_EQ(CPrintManager::PlaceOnPage(600, 800, {1100, 850}), (Rect{264, 43, 837, 808}));
    EXPECT_EQ(CPrintManager::PlaceOnPage(0, 600, {1100, 850}), Rect{});
}

TEST(PrintManager, TheFileBackEndsPageHoldsThePictureWhereTheJobPutIt) {
    Printing p;
    ASSERT_EQ(p.start, 0);
    ASSERT_TRUE(p.manager->IsPrintingAvailable());
    ASSERT_TRUE(p.Request());
    EXPECT_TRUE(p.manager->IsJobPending());
    EXPECT_EQ(p.CanvasPixel(80, 60), kRed);
    EXPECT_EQ(p.CanvasPixel(719, 539), kYellow);
    EXPECT_EQ(p.CanvasPixel(79, 60), kWhite);
    EXPECT_EQ(p.CanvasPixel(400, 700), kWhite) << "below the landscape page";

    ASSERT_TRUE(p.manager->ProcessPendingJob());
    EXPECT_FALSE(p.manager->IsBusy());
    EXPECT_FALSE(p.manager->IsLandscape());
    EXPECT_EQ(p.CanvasPixel(400, 300), kWhite) << "cleared after the job";
    ASSERT_EQ(p.printer->Pages().size(), 1u);
    EXPECT_EQ(p.printer->LastTitle(), "KAVO Zentrix");
    // The job names the paper the page was composed for, landscape, unscaled; the picture says how
    // large its dots are: 1100 x 850 dots at 100 per inch (3937 per metre) are that paper, 11 x 8.5 in.
    EXPECT_EQ(p.printer->LastOptions(), (std::vector<plat::print::JobOption>{{"media", "na_letter_8.5x11in"},
                                                                             {"orientation-requested", "4"},
                                                                             {"print-scaling", "none"}}));
    png_uint_32 perMetreX = 0, perMetreY = 0;
    ASSERT_TRUE(printtest::ReadPixelsPerMetre(p.printer->Pages()[0], perMetreX, perMetreY));
    EXPECT_EQ(perMetreX, 3937u);
    EXPECT_EQ(perMetreY, 3937u);

    plat::print::RgbPicture page;
    ASSERT_TRUE(printtest::ReadPng(p.printer->Pages()[0], page));
    ASSERT_EQ(page.width, 1100);
    ASSERT_EQ(page.height, 850);
    // The 800 x 600 page part prints 990 x 742 at (55, 54); the picture lies at (80, 60)-(720, 540) of it.
    const struct {
        int x, y;
        std::uint8_t r, g, b;
    } points[] = {{300, 250, 255, 0, 0},     {800, 250, 0, 255, 0},     {300, 600, 0, 0, 255},
                  {800, 600, 255, 255, 0},   {120, 120, 255, 255, 255}, {20, 20, 255, 255, 255},
                  {1080, 830, 255, 255, 255}};
    for (const auto& pt : points) {
        const std::uint8_t* px = page.At(pt.x, pt.y);
        EXPECT_EQ((std::array<int, 3>{px[0], px[1], px[2]}), (std::array<int, 3>{pt.r, pt.g, pt.b}))
            << pt.x << "," << pt.y;
    }
}

TEST(PrintManager, ASecondRequestBeforeTheJobRunsIsRefused) {
    Printing p;
    ASSERT_TRUE(p.Request());
    EXPECT_FALSE(p.Request());
    EXPECT_TRUE(p.manager->ProcessPendingJob());
    EXPECT_FALSE(p.manager->ProcessPendingJob()) << "nothing queued";
    EXPECT_TRUE(p.Request());
}

TEST(PrintManager, EveryFailedJobClearsBusyLandscapeAndTheCanvas) {
    struct Case {
        const char* name;
        void (*fail)(Printing&);
    };
    const Case cases[] = {
        {"the printer has gone", [](Printing& p) { p.printer->SetPresent(false); }},
        {"the manager was stopped and started again",
         [](Printing& p) {
             p.manager->StopManager();
             p.manager->StartManager();
         }},
    };
    for (const Case& c : cases) {
        Printing p;
        ASSERT_TRUE(p.Request());
        c.fail(p);
        EXPECT_FALSE(p.manager->ProcessPendingJob()) << c.name;
        EXPECT_FALSE(p.manager->IsBusy()) << c.name;
        EXPECT_FALSE(p.manager->IsJobPending()) << c.name;
        EXPECT_FALSE(p.manager->IsLandscape()) << c.name;
        if (p.manager->GetCanvas())
            EXPECT_EQ(p.CanvasPixel(400, 300), kWhite) << c.name;
        EXPECT_TRUE(p.printer->Pages().empty()) << c.name;
        p.printer->SetPresent(true);
        EXPECT_TRUE(p.Request()) << c.name << ": printing goes on";
    }
}

TEST(PrintManager, TheSpoolerIsAskedOnlyWhileTheWindowIsMinimisedAndItsEndShowsTheWindow) {
    Printing p;
    ASSERT_TRUE(p.Request());
    ASSERT_TRUE(p.manager->ProcessPendingJob());
    ASSERT_TRUE(p.manager->IsWaitingForSpooler());
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(p.manager->Update(5000));
    EXPECT_EQ(p.printer->BusyQueries(), 0);

    p.services.window.SetMinimised(true);
    p.printer->SetBusy(true);
    EXPECT_FALSE(p.manager->Update(5000));
    EXPECT_EQ(p.printer->BusyQueries(), 1);
    EXPECT_FALSE(p.manager->Update(4999)) << "polled every 5000 ms";
    EXPECT_EQ(p.printer->BusyQueries(), 1);
    p.printer->SetBusy(false);
    EXPECT_TRUE(p.manager->Update(1));
    EXPECT_EQ(p.printer->BusyQueries(), 2);
    EXPECT_FALSE(p.services.window.IsMinimised());
    EXPECT_FALSE(p.manager->IsWaitingForSpooler());
    p.services.window.SetMinimised(true);
    EXPECT_FALSE(p.manager->Update(5000));
    EXPECT_EQ(p.printer->BusyQueries(), 2);
}

TEST(PrintManager, WithoutAPrinterAtTheStartARequestSaysSoAndTheGameGoesOn) {
    Printing none(false);
    EXPECT_EQ(none.start, 0);
    EXPECT_FALSE(none.manager->IsPrintingAvailable());
    EXPECT_EQ(none.manager->GetCanvas(), nullptr);
    EXPECT_FALSE(none.Request());
    EXPECT_EQ(none.services.help, std::vector<int>{570181});
    EXPECT_FALSE(none.manager->ProcessPendingJob());

    Printing noCanvas;
    noCanvas.services.canvasMade = false;
    EXPECT_EQ(noCanvas.manager->StartManager(), 1);
}

TEST(PrintManager, WithCupsAndNoSchedulerPrintingIsUnavailable) {
    // A scheduler socket that does not exist: no printer, whatever the machine has.
    const char* old = std::getenv("CUPS_SERVER");
    const std::string previous = old ? old : "";
    setenv("CUPS_SERVER", "/nonexistent/zentrix-test-cups.sock", 1);
    cupsSetServer(nullptr);

    FakePrintServices services;
    CPrintManager manager(std::make_unique<plat::print::CupsPrinter>(), services);
    EXPECT_EQ(manager.StartManager(), 0);
    EXPECT_FALSE(manager.IsPrintingAvailable());
    auto screen = plat::gfx2d::Surface::Create({640, 480}, plat::gfx2d::kFormat565);
    EXPECT_FALSE(manager.PrintPicture(screen.get(), {0, 0, 640, 480}));
    EXPECT_EQ(services.help, std::vector<int>{570181});
    EXPECT_FALSE(manager.Update(5000));

    if (old)
        setenv("CUPS_SERVER", previous.c_str(), 1);
    else
        unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
}
