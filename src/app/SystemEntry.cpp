#include "app/SystemEntry.h"

#include "app/AppParts.h"
#include "platform/system/Relaunch.h"

namespace zentrix {

plat::system::InstanceLock::Result CSystemEntry::TakeInstanceLock() {
    return m_lock.Acquire(plat::system::DefaultLockFile());
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
