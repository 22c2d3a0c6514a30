#pragma once

#include "platform/print/Printer.h"

#include <filesystem>
#include <string>
#include <vector>

namespace plat::print {

/// A printer for tests: its pages are PNG files ("page1.png", "page2.png", ...) in a folder, written as
/// the system's printer writes them, and the options the job would be sent with are kept. Its page is
/// small and fixed: US Letter at 100 dots per inch, 1100 x 850 dots in landscape and 850 x 1100 in
/// portrait.
class FilePrinter final : public Printer {
public:
    static constexpr int kLongSide = 1100;
    static constexpr int kShortSide = 850;
    /// The one printer's name.
    static constexpr const char* kName = "file";
    static constexpr const char* kMedium = "na_letter_8.5x11in";
    static constexpr int kDotsPerInch = 100;

    /// Pages go into `folder` (a system path that must exist); with `present` false there is no printer.
    explicit FilePrinter(std::filesystem::path folder, bool present = true);

    std::optional<std::string> DefaultPrinter() override;
    std::optional<PageSize> GetPageSize(const std::string& name, bool landscape) override;
    bool PrintPage(const std::string& name, const std::string& title, const RgbPicture& picture,
                   const gfx2d::Rect& onPage, bool landscape) override;
    bool IsBusy(const std::string& name) override;

    /// Takes the printer away (or brings it back).
    void SetPresent(bool present) { m_present = present; }
    /// Makes the printer report itself busy (or done) from now on.
    void SetBusy(bool busy) { m_busy = busy; }
    /// How many times the printer was asked whether it is busy.
    int BusyQueries() const { return m_busyQueries; }
    /// The files written, in order.
    const std::vector<std::filesystem::path>& Pages() const { return m_pages; }
    /// The title of the last job printed.
    const std::string& LastTitle() const { return m_lastTitle; }
    /// The options of the last job printed.
    const std::vector<JobOption>& LastOptions() const { return m_lastOptions; }

private:
    std::filesystem::path m_folder;
    bool m_present;
    bool m_busy = false;
    int m_busyQueries = 0;
    std::vector<std::filesystem::path> m_pages;
    std::string m_lastTitle;
    std::vector<JobOption> m_lastOptions;
};

} // namespace plat::print
