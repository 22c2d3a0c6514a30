#pragma once

#include "platform/system/InstanceLock.h"
#include "platform/system/MessageBox.h"
#include "platform/system/RuntimeVersion.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

class CAppParts;

/// What the program's entry asks of the system: the single-instance lock, the graphics runtime's
/// version, message boxes, the relaunch, and the parts of the application. Tests put a double in.
class IEntrySystem {
public:
    virtual ~IEntrySystem() = default;
    /// Takes the lock that keeps a second copy from running; it is held until the process ends. When it is
    /// not owned, `problem` names the lock file and says why.
    virtual plat::system::InstanceLock::Result TakeInstanceLock(std::string& problem) = 0;
    /// Writes a line for the player to standard error.
    virtual void Tell(std::string_view text) = 0;
    /// The installed graphics runtime's version.
    virtual plat::system::RuntimeVersion QueryRuntimeVersion() = 0;
    /// Shows a message box; the answer (kAnswerOk, kAnswerYes or kAnswerNo).
    virtual int ShowMessageBox(std::string_view caption, std::string_view text,
                               plat::system::Buttons buttons) = 0;
    /// Replaces the process by a new run of the game with `args`; returns only when that failed.
    virtual void Relaunch(const std::vector<std::string>& args) = 0;
    /// The parts the application is made of.
    virtual std::unique_ptr<CAppParts> CreateAppParts() = 0;
};

} // namespace zentrix
