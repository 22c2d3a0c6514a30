#include "foundation/base/Veltrin.h"

#include "foundation/base/Memory.h"
#include "foundation/base/OpenFileList.h"

void VeltrinStartup() {
    StartMemoryTracking();
}

void VeltrinShutdown() {
    CloseAllFiles();
    StopMemoryTracking();
}
