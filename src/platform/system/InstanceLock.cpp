#include "platform/system/InstanceLock.h"

#include "platform/settings/FileStore.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>

namespace plat::system {

namespace {

// The descriptors of the locks this process holds. A forked child shares the open file and with it the
// lock, so the child closes its copies at once: the lock then lives exactly as long as the game.
std::array<std::atomic<int>, 4> g_held = {-1, -1, -1, -1};

void CloseHeldInChild() {
    for (std::atomic<int>& fd : g_held) {
        const int held = fd.exchange(-1);
        if (held >= 0)
            ::close(held);
    }
}

/// False when no slot is free (the descriptor then passes to children like any other).
bool Remember(int fd) {
    static const bool registered = pthread_atfork(nullptr, nullptr, &CloseHeldInChild) == 0;
    for (std::atomic<int>& slot : g_held) {
        int empty = -1;
        if (registered && slot.compare_exchange_strong(empty, fd))
            return true;
    }
    return false;
}

/// False when `fd` is not remembered: in a forked child, where it was closed already.
bool Forget(int fd) {
    for (std::atomic<int>& slot : g_held) {
        int held = fd;
        if (slot.compare_exchange_strong(held, -1))
            return true;
    }
    return false;
}

} // namespace

InstanceLock::~InstanceLock() {
    Release();
}

InstanceLock::Result InstanceLock::Acquire(const std::filesystem::path& file) {
    Release();
    m_problem.clear();
    if (file.empty()) {
        m_problem =
            "there is no folder for the game's settings: neither ZENTRIX_CONFIG_DIR, XDG_CONFIG_HOME nor "
            "HOME names one";
        return Result::Failed;
    }
    std::error_code ec;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) {
        m_problem = file.parent_path().string() + ": the settings folder cannot be made: " + ec.message();
        return Result::Failed;
    }
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_problem = file.string() + ": the lock file cannot be opened: " + std::strerror(errno);
        return Result::Failed;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            m_problem = "its lock file " + file.string() + " is held";
            return Result::AlreadyExists;
        }
        m_problem = file.string() + ": the lock file cannot be locked: " + std::strerror(error);
        return Result::Failed;
    }
    m_fd = fd;
    m_remembered = Remember(fd);
    return Result::Owned;
}

void InstanceLock::Release() {
    if (m_fd >= 0) {
        if (!m_remembered || Forget(m_fd))
            ::close(m_fd);
        m_fd = -1;
        m_remembered = false;
    }
}

std::filesystem::path DefaultLockFile() {
    const std::filesystem::path folder = settings::ConfigFolder();
    return folder.empty() ? folder : folder / "instance.lock";
}

} // namespace plat::system
