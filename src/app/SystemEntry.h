#pragma once

#include "app/EntrySystem.h"

#include <functional>
#include <memory>

namespace zentrix {

/// The entry's services on the real system: the lock file, the built-in renderer's version, SDL message
/// boxes and exec of the game's own executable.
class CSystemEntry final : public IEntrySystem {
public:
    /// Makes the application's parts.
    using PartsFactory = std::function<std::unique_ptr<CAppParts>()>;

    /// An entry whose application is made of what `makeParts` gives (null: the shell's own parts).
    explicit CSystemEntry(PartsFactory makeParts = {}) : m_makeParts(std::move(makeParts)) {}

    plat::system::InstanceLock::Result TakeInstanceLock(std::string& problem) override;
    void Tell(std::string_view text) override;
    plat::system::RuntimeVersion QueryRuntimeVersion() override;
    int ShowMessageBox(std::string_view caption, std::string_view text,
                       plat::system::Buttons buttons) override;
    void Relaunch(const std::vector<std::string>& args) override;
    std::unique_ptr<CAppParts> CreateAppParts() override;

private:
    plat::system::InstanceLock m_lock;
    PartsFactory m_makeParts;
};

} // namespace zentrix
