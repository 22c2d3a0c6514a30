#include "platform/settings/AtomicWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace plat::settings {

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view data,
                           const std::function<bool()>& beforeRename) {
    std::filesystem::path temp = file;
    temp += ".tmp" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "settings: cannot create %s: %s\n", temp.c_str(), std::strerror(errno));
        return false;
    }
    bool written = WriteAll(fd, data) && ::fsync(fd) == 0;
    int writeError = errno;
    ::close(fd);
    if (!written) {
        std::fprintf(stderr, "settings: cannot write %s: %s\n", temp.c_str(), std::strerror(writeError));
        ::unlink(temp.c_str());
        return false;
    }
    if (beforeRename && !beforeRename())
        return false;
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        std::fprintf(stderr, "settings: cannot replace %s: %s\n", file.c_str(), std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(file.parent_path());
    return true;
}

} // namespace plat::settings
