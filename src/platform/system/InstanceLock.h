#pragma once

#include <filesystem>
#include <string>

namespace plat::system {

/// The lock that keeps a second copy of the game from running: an exclusive lock on a file in the
/// settings folder. Leaving the process, or replacing it with exec, releases it; a child process (a
/// helper the game or a library forks) does not inherit it, so a helper that outlives the game never
/// keeps the next start out.
class InstanceLock {
public:
    enum class Result { Owned, AlreadyExists, Failed };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    /// Takes the lock on `file` (created when missing, with its folder) without waiting.
    Result Acquire(const std::filesystem::path& file);
    /// Gives the lock up.
    void Release();
    /// Whether this object holds the lock.
    bool IsOwned() const { return m_fd >= 0; }
    /// The descriptor of the lock file while held, else -1.
    int Descriptor() const { return m_fd; }
    /// Why the last Acquire did not own the lock: the lock file and what happened (empty after success).
    const std::string& Problem() const { return m_problem; }

private:
    int m_fd = -1;
    bool m_remembered = false; ///< whether children close their copy of m_fd
    std::string m_problem;
};

/// The lock file of the game, inside the settings folder; empty when there is no settings folder.
std::filesystem::path DefaultLockFile();

} // namespace plat::system
