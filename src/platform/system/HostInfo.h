#pragma once

#include <optional>
#include <string>

/// What the game asks of the machine it runs on: the computer's name, the program's file name, the local
/// time as text, and where a drive letter is mapped to.
namespace plat::system {

/// The computer's name (the host name); a test may set another with ScopedComputerName.
std::string ComputerName();

/// The running program's file name without its folder ("zentrix").
std::string ProgramFileName();

/// The local date and time as the C runtime's asctime writes it: 24 characters and a newline
/// ("Mon Dec  7 08:05:37 2026\n").
std::string LocalTimeText();

/// The network share a drive letter is mapped to. Linux has no drive letters, so nothing is mapped.
std::optional<std::string> MappedDriveRemoteName(char driveLetter);

/// Makes ComputerName answer the given name while the object lives (tests of per-computer files).
class ScopedComputerName {
public:
    explicit ScopedComputerName(std::string name);
    ~ScopedComputerName();
    ScopedComputerName(const ScopedComputerName&) = delete;
    ScopedComputerName& operator=(const ScopedComputerName&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace plat::system
