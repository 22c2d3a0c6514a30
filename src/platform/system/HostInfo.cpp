#include "platform/system/HostInfo.h"

#include <climits>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace plat::system {

namespace {
std::optional<std::string> g_computerName;
}

std::string ComputerName() {
    if (g_computerName)
        return *g_computerName;
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "localhost";
    return name;
}

std::string ProgramFileName() {
    char path[PATH_MAX + 1] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return "zentrix";
    std::string full(path, static_cast<std::size_t>(length));
    return full.substr(full.find_last_of('/') + 1);
}

std::string LocalTimeText() {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", kDays[local.tm_wday % 7],
                  kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  1900 + local.tm_year);
    return text;
}

std::optional<std::string> MappedDriveRemoteName(char) {
    return std::nullopt;
}

ScopedComputerName::ScopedComputerName(std::string name) : m_previous(std::move(g_computerName)) {
    g_computerName = std::move(name);
}

ScopedComputerName::~ScopedComputerName() {
    g_computerName = std::move(m_previous);
}

} // namespace plat::system
