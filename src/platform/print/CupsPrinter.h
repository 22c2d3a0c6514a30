#pragma once

#include "platform/print/Printer.h"

namespace plat::print {

/// The system's printers through CUPS. Without a reachable scheduler it finds no printer, at once.
/// Pages are 300 dots per inch on the printer's default medium (A4 when it names none); a picture is
/// sent as one PNG page, unscaled by the printer.
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
};

/// The page side in dots of a medium side in hundredths of a millimetre, between 1 and kMaxSide.
int MediaToDots(int hundredthsOfMillimetre);

} // namespace plat::print
