#include "platform/system/InstanceLock.h"

#include "platform/settings/FileStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace plat::system {

InstanceLock::~InstanceLock() {
    Release();
}

InstanceLock::Result InstanceLock::Acquire(const std::filesystem::path& file) {
    Release();
    std::error_code ec;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ec);
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "instance lock: cannot open %s: %s\n", file.c_str(), std::strerror(errno));
        return Result::Failed;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Result::AlreadyExists;
        std::fprintf(stderr, "instance lock: cannot lock %s: %s\n", file.c_str(), std::strerror(error));
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Owned;
}

void InstanceLock::Release() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::filesystem::path DefaultLockFile() {
    return settings::ConfigFolder() / "instance.lock";
}

} // namespace plat::system
