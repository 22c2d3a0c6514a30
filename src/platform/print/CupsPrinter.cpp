#include "platform/print/CupsPrinter.h"

#include "platform/print/PngFile.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace plat::print {

namespace {

// A4, for a printer that names no default medium.
constexpr const char* kA4Name = "iso_a4_210x297mm";
constexpr int kA4Width = 21000;
constexpr int kA4Length = 29700;
// The printer states of the printing protocol: 3 idle, 4 processing, 5 stopped.
constexpr std::string_view kProcessing = "4";

/// A destination of the scheduler looked up afresh by name; freed with it.
class NamedDest {
public:
    explicit NamedDest(const std::string& name)
        : m_dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr)) {}
    ~NamedDest() {
        if (m_dest != nullptr)
            cupsFreeDests(1, m_dest);
    }
    NamedDest(const NamedDest&) = delete;
    NamedDest& operator=(const NamedDest&) = delete;
    cups_dest_t* Get() const { return m_dest; }

private:
    cups_dest_t* m_dest;
};

} // namespace

int MediaToDots(int hundredthsOfMillimetre) {
    const std::int64_t dots = std::int64_t(hundredthsOfMillimetre) * CupsPrinter::kDotsPerInch / 2540;
    return static_cast<int>(std::clamp<std::int64_t>(dots, 1, CupsPrinter::kMaxSide));
}

std::optional<std::string> CupsPrinter::DefaultPrinter() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::optional<std::string> name;
    if (count > 0 && dests != nullptr) {
        cups_dest_t* dest = cupsGetDest(nullptr, nullptr, count, dests);
        if (dest == nullptr)
            dest = &dests[0];
        if (dest->name != nullptr)
            name = dest->name;
    }
    cupsFreeDests(count, dests);
    return name;
}

Medium ChooseMedium(const char* name, int width, int length) {
    if (name == nullptr || *name == '\0' || width <= 0 || length <= 0)
        return {kA4Name, kA4Width, kA4Length};
    return {name, width, length};
}

PageSize PageOf(const Medium& medium, bool landscape) {
    PageSize page{MediaToDots(medium.width), MediaToDots(medium.length)};
    if (landscape != (page.width > page.height))
        std::swap(page.width, page.height);
    return page;
}

std::optional<Medium> CupsPrinter::DefaultMedium(const std::string& name) {
    NamedDest dest(name);
    if (dest.Get() == nullptr)
        return std::nullopt;
    Medium medium = ChooseMedium(nullptr, 0, 0);
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.Get())) {
        cups_size_t media{};
        if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest.Get(), info, 0, &media) != 0) {
            media.media[sizeof(media.media) - 1] = '\0';
            medium = ChooseMedium(media.media, media.width, media.length);
        }
        cupsFreeDestInfo(info);
    }
    return medium;
}

std::optional<PageSize> CupsPrinter::GetPageSize(const std::string& name, bool landscape) {
    const std::optional<Medium> medium = DefaultMedium(name);
    if (!medium)
        return std::nullopt;
    return PageOf(*medium, landscape);
}

bool CupsPrinter::PrintPage(const std::string& name, const std::string& title, const RgbPicture& picture,
                            const gfx2d::Rect& onPage, bool landscape) {
    const std::optional<Medium> medium = DefaultMedium(name);
    if (!medium)
        return false;
    std::string path = (std::filesystem::temp_directory_path() / "zentrix-print-XXXXXX.png").string();
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0)
        return false;
    close(fd);
    bool printed = false;
    // The page is composed whole for the medium, so the job names that medium and asks for no scaling.
    if (WritePng(path, ComposePage(PageOf(*medium, landscape), picture, onPage), kDotsPerInch)) {
        cups_option_t* options = nullptr;
        int count = 0;
        for (const JobOption& option : PageJobOptions(medium->name, landscape))
            count = cupsAddOption(option.name.c_str(), option.value.c_str(), count, &options);
        printed =
            cupsPrintFile2(CUPS_HTTP_DEFAULT, name.c_str(), path.c_str(), title.c_str(), count, options) > 0;
        cupsFreeOptions(count, options);
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return printed;
}

bool CupsPrinter::IsBusy(const std::string& name) {
    NamedDest dest(name);
    if (dest.Get() == nullptr)
        return false;
    const char* state = cupsGetOption("printer-state", dest.Get()->num_options, dest.Get()->options);
    return state != nullptr && kProcessing == state;
}

} // namespace plat::print
