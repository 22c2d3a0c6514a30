#include "platform/print/CupsPrinter.h"
#include "platform/print/FilePrinter.h"
#include "platform/print/Printer.h"
#include "support/TempFolder.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using plat::gfx2d::Rect;
using plat::print::PageSize;
using plat::print::RgbPicture;

namespace {

/// A 2 x 2 picture: red, green above; blue, black below.
RgbPicture Quads() {
    RgbPicture p = RgbPicture::Filled(2, 2, 0, 0, 0);
    p.At(0, 0)[0] = 255;
    p.At(1, 0)[1] = 255;
    p.At(0, 1)[2] = 255;
    return p;
}

/// The page as letters: W white, R red, G green, B blue, K black.
std::string Letters(const RgbPicture& page) {
    std::string out;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const std::uint8_t* p = page.At(x, y);
            out += p[0] == 255 && p[1] == 255 ? 'W'
                   : p[0] == 255              ? 'R'
                   : p[1] == 255              ? 'G'
                   : p[2] == 255              ? 'B'
                                              : 'K';
        }
        out += '\n';
    }
    return out;
}

} // namespace

TEST(Print, APageIsWhiteWithThePictureStretchedIntoItsRectangleAndCutAtTheEdge) {
    struct Case {
        const char* name;
        Rect onPage;
        RgbPicture picture;
        const char* page;
    };
    const Case cases[] = {
        {"doubled at (1, 1)", {1, 1, 5, 5}, Quads(), "WWWWWW\nWRRGGW\nWRRGGW\nWBBKKW\nWBBKKW\nWWWWWW\n"},
        {"half off the top left",
         {-2, -2, 2, 2},
         Quads(),
         "KKWWWW\nKKWWWW\nWWWWWW\nWWWWWW\nWWWWWW\nWWWWWW\n"},
        {"wholly off the page", {6, 0, 8, 2}, Quads(), "WWWWWW\nWWWWWW\nWWWWWW\nWWWWWW\nWWWWWW\nWWWWWW\n"},
        {"a picture whose pixels do not match its size",
         {0, 0, 6, 6},
         RgbPicture{2, 2, {1, 2, 3}},
         "WWWWWW\nWWWWWW\nWWWWWW\nWWWWWW\nWWWWWW\nWWWWWW\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Letters(plat::print::ComposePage({6, 6}, c.picture, c.onPage)), c.page) << c.name;
    EXPECT_FALSE(plat::print::ComposePage({0, 6}, Quads(), {0, 0, 2, 2}).IsValid());
}

TEST(Print, MediaSidesBecomeDotsAt300PerInchWithinBounds) {
    EXPECT_EQ(plat::print::MediaToDots(21000), 2480);
    EXPECT_EQ(plat::print::MediaToDots(29700), 3507);
    EXPECT_EQ(plat::print::MediaToDots(0), 1);
    EXPECT_EQ(plat::print::MediaToDots(2000000000), plat::print::CupsPrinter::kMaxSide);

    // The page is composed for the medium the printer names, which the job then names; A4 when the
    // printer names none whole.
    struct Case {
        const char* name;
        int width, length;
        bool landscape;
        const char* medium;
        PageSize page;
    };
    const Case cases[] = {
        {"na_letter_8.5x11in", 21590, 27940, true, "na_letter_8.5x11in", {3300, 2550}},
        {"na_letter_8.5x11in", 21590, 27940, false, "na_letter_8.5x11in", {2550, 3300}},
        {"", 21590, 27940, true, "iso_a4_210x297mm", {3507, 2480}},
        {nullptr, 0, 0, false, "iso_a4_210x297mm", {2480, 3507}},
        {"na_letter_8.5x11in", 21590, 0, false, "iso_a4_210x297mm", {2480, 3507}},
    };
    for (const Case& c : cases) {
        const plat::print::Medium medium = plat::print::ChooseMedium(c.name, c.width, c.length);
        EXPECT_EQ(medium.name, c.medium) << (c.name ? c.name : "none");
        EXPECT_EQ(plat::print::PageOf(medium, c.landscape), c.page) << (c.name ? c.name : "none");
    }
}

TEST(Print, TheFilePrinterWritesEachPageAsAPngOfItsFixedSize) {
    testsupport::TempFolder folder;
    plat::print::FilePrinter printer(folder.Path());
    ASSERT_EQ(printer.DefaultPrinter(), std::optional<std::string>("file"));
    EXPECT_EQ(printer.GetPageSize("file", true), (PageSize{1100, 850}));
    EXPECT_EQ(printer.GetPageSize("file", false), (PageSize{850, 1100}));
    EXPECT_EQ(printer.GetPageSize("other", false), std::nullopt);
    EXPECT_FALSE(printer.PrintPage("other", "t", Quads(), {0, 0, 2, 2}, true));
    ASSERT_TRUE(printer.PrintPage("file", "title", Quads(), {0, 0, 2, 2}, false));
    ASSERT_EQ(printer.Pages().size(), 1u);
    std::ifstream png(printer.Pages()[0], std::ios::binary);
    char signature[8] = {};
    png.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");

    plat::print::FilePrinter absent(folder.Path(), false);
    EXPECT_EQ(absent.DefaultPrinter(), std::nullopt);
    EXPECT_FALSE(absent.IsBusy("file"));
}

TEST(Print, WithoutASchedulerCupsFindsNoPrinterAtOnce) {
    const char* old = std::getenv("CUPS_SERVER");
    const std::string previous = old ? old : "";
    setenv("CUPS_SERVER", "/nonexistent/zentrix-test-cups.sock", 1);
    cupsSetServer(nullptr);

    plat::print::CupsPrinter printer;
    EXPECT_EQ(printer.DefaultPrinter(), std::nullopt);
    EXPECT_EQ(printer.GetPageSize("any", true), std::nullopt);
    EXPECT_FALSE(printer.PrintPage("any", "title", Quads(), {0, 0, 2, 2}, true));
    EXPECT_FALSE(printer.IsBusy("any")) << "a printer that cannot be reached is done";

    if (old)
        setenv("CUPS_SERVER", previous.c_str(), 1);
    else
        unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
}
