#pragma once

#include "platform/gfx2d/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plat::print {

/// The printable size of a page in printer dots, the way round the page is printed.
struct PageSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const PageSize&, const PageSize&) = default;
};

/// A paper size by the name the print system knows it by (the standard's self-describing names, such as
/// "iso_a4_210x297mm"), with its sides in hundredths of a millimetre.
struct Medium {
    std::string name;
    int width = 0;
    int length = 0;
};

/// One option sent with a print job, named and valued as the print system takes it.
struct JobOption {
    std::string name;
    std::string value;

    friend bool operator==(const JobOption&, const JobOption&) = default;
};

/// The options of a page composed whole for `medium` at the resolution written into its picture: that
/// medium, the way round it prints, and no scaling, so the print system neither rescales nor crops it.
std::vector<JobOption> PageJobOptions(const std::string& medium, bool landscape);

/// A picture of 8-bit red, green and blue bytes per pixel, rows top first without padding.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    /// A picture of the size filled with one colour.
    static RgbPicture Filled(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    /// Whether the pixel buffer holds exactly width x height pixels of a size of at least 1 x 1.
    bool IsValid() const;
    /// The first byte of pixel (x, y).
    const std::uint8_t* At(int x, int y) const { return pixels.data() + (std::size_t(y) * width + x) * 3; }
    std::uint8_t* At(int x, int y) { return pixels.data() + (std::size_t(y) * width + x) * 3; }
};

/// The game's printer: it finds the printer to use, tells the size of its page, prints one picture on
/// one page and says whether the printer is still at work. The system's printing service is the real
/// back-end; a back-end that writes the pages as files serves the tests.
class Printer {
public:
    virtual ~Printer() = default;

    /// The name of the printer to print on (the default one, else the first listed); none when no
    /// printer can be reached.
    virtual std::optional<std::string> DefaultPrinter() = 0;
    /// The page of printer `name` in dots, wider than high when `landscape`; none without that printer.
    virtual std::optional<PageSize> GetPageSize(const std::string& name, bool landscape) = 0;
    /// Prints one white page with `picture` stretched into `onPage` (dots; what lies off the page is
    /// cut), as job `title`; false when the printer refused it.
    virtual bool PrintPage(const std::string& name, const std::string& title, const RgbPicture& picture,
                           const gfx2d::Rect& onPage, bool landscape) = 0;
    /// Whether printer `name` is still printing; a printer that cannot be reached is done.
    virtual bool IsBusy(const std::string& name) = 0;
};

/// A white page of `page` with `picture` stretched (nearest pixel) into `onPage`, clipped to the page;
/// an invalid picture leaves the page white.
RgbPicture ComposePage(PageSize page, const RgbPicture& picture, const gfx2d::Rect& onPage);

} // namespace plat::print
