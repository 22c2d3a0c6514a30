#include "app/standin/AssetManStandIn.h"

#include "platform/fs/FileSystem.h"
#include "platform/system/MessageBox.h"

int CAssetManStandIn::StartManager() {
    m_bStarted = true;
    if (!plat::fs::Exists(kResourceTable)) {
        plat::system::ShowMessageBox("KAVO Zentrix", "Resource file missing!", plat::system::Buttons::Ok);
        return 1;
    }
    return 0;
}

int CAssetManStandIn::StopManager() {
    m_bStarted = false;
    return 0;
}
