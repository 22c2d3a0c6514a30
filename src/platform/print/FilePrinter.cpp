#include "platform/print/FilePrinter.h"

#include "platform/print/PngFile.h"

namespace plat::print {

FilePrinter::FilePrinter(std::filesystem::path folder, bool present)
    : m_folder(std::move(folder)), m_present(present) {}

std::optional<std::string> FilePrinter::DefaultPrinter() {
    if (!m_present)
        return std::nullopt;
    return std::string(kName);
}

std::optional<PageSize> FilePrinter::GetPageSize(const std::string& name, bool landscape) {
    if (!m_present || name != kName)
        return std::nullopt;
    return landscape ? PageSize{kLongSide, kShortSide} : PageSize{kShortSide, kLongSide};
}

bool FilePrinter::PrintPage(const std::string& name, const std::string& title, const RgbPicture& picture,
                            const gfx2d::Rect& onPage, bool landscape) {
    const std::optional<PageSize> page = GetPageSize(name, landscape);
    if (!page)
        return false;
    const std::filesystem::path path = m_folder / ("page" + std::to_string(m_pages.size() + 1) + ".png");
    if (!WritePng(path, ComposePage(*page, picture, onPage), kDotsPerInch))
        return false;
    m_pages.push_back(path);
    m_lastTitle = title;
    m_lastOptions = PageJobOptions(kMedium, landscape);
    return true;
}

bool FilePrinter::IsBusy(const std::string& name) {
    ++m_busyQueries;
    return m_present && name == kName && m_busy;
}

} // namespace plat::print
