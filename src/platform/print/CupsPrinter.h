#pragma once

#include "platform/print/Printer.h"

namespace plat::print {

/// The system's printers through CUPS. Without a reachable scheduler it finds no printer, at once.
/// Pages are 300 dots per inch on the printer's default medium (A4 when it names none); a picture is
/// sent as one PNG page carrying that resolution, with that medium named and no scaling, so the printer
/// puts it on the paper it was composed for as it stands.
class CupsPrinter final : public Printer {
public:
    static constexpr int kDotsPerInch = 300;
    /// No page side is taken larger than this (17 inches), so no medium can ask for a huge page.
    static constexpr int kMaxSide = 5100;

    std::optional<std::string> DefaultPrinter() override;
    std::optional<PageSize> GetPageSize(const std::string& name, bool landscape) override;
    bool PrintPage(const std::string& name, const std::string& title, const RgbPicture& picture,
                   const gfx2d::Rect& onPage, bool landscape) override;
    bool IsBusy(const std::string& name) override;

private:
    /// The default medium of printer `name`; none without that printer.
    std::optional<Medium> DefaultMedium(const std::string& name);
};

/// The medium a printer names as its default, or A4 when it names none whole (no name, or a side of 0).
Medium ChooseMedium(const char* name, int width, int length);

/// The page in dots of `medium`, wider than high when `landscape`.
PageSize PageOf(const Medium& medium, bool landscape);

/// The page side in dots of a medium side in hundredths of a millimetre, between 1 and kMaxSide.
int MediaToDots(int hundredthsOfMillimetre);

} // namespace plat::print
