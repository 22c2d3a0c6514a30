#pragma once

#include <filesystem>

namespace plat::system {

/// The lock that keeps a second copy of the game from running: an exclusive lock on a file in the
/// settings folder. Leaving the process, or replacing it with exec, releases it.
class InstanceLock {
public:
    enum class Result { Owned, AlreadyExists, Failed };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    /// Takes the lock on `file` (created when missing) without waiting.
    Result Acquire(const std::filesystem::path& file);
    /// Gives the lock up.
    void Release();
    /// Whether this object holds the lock.
    bool IsOwned() const { return m_fd >= 0; }
    /// The descriptor of the lock file while held, else -1.
    int Descriptor() const { return m_fd; }

private:
    int m_fd = -1;
};

/// The lock file of the game, inside the settings folder.
std::filesystem::path DefaultLockFile();

} // namespace plat::system
