#include "foundation/base/Veltrin.h"

#include "foundation/base/Memory.h"
#include "foundation/base/OpenFileList.h"

namespace zentrix {

void VeltrinStartup() {
    StartMemoryTracking();
}

void VeltrinShutdown() {
    CloseAllFiles();
    StopMemoryTracking();
}

} // namespace zentrix
