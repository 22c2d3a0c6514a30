#include "app/SystemEntry.h"

#include "app/AppParts.h"
#include "platform/system/Relaunch.h"

#include <cstdio>

namespace zentrix {

plat::system::InstanceLock::Result CSystemEntry::TakeInstanceLock(std::string& problem) {
    const plat::system::InstanceLock::Result result = m_lock.Acquire(plat::system::DefaultLockFile());
    problem = m_lock.Problem();
    return result;
}

void CSystemEntry::Tell(std::string_view text) {
    std::fprintf(stderr, "zentrix: %.*s\n", static_cast<int>(text.size()), text.data());
}

plat::system::RuntimeVersion CSystemEntry::QueryRuntimeVersion() {
    return plat::system::QueryRuntimeVersion();
}

int CSystemEntry::ShowMessageBox(std::string_view caption, std::string_view text,
                                 plat::system::Buttons buttons) {
    return plat::system::ShowMessageBox(caption, text, buttons);
}

void CSystemEntry::Relaunch(const std::vector<std::string>& args) {
    plat::system::RelaunchSelf(args);
}

std::unique_ptr<CAppParts> CSystemEntry::CreateAppParts() {
    return m_makeParts ? m_makeParts() : std::make_unique<CAppParts>();
}

} // namespace zentrix
