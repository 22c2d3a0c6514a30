#include "render/OverlayServices.h"

namespace zentrix {

namespace {

IOverlayServices* g_services = nullptr;

} // namespace

IOverlayServices* GetOverlayServices() {
    return g_services;
}

void SetOverlayServices(IOverlayServices* services) {
    g_services = services;
}

} // namespace zentrix
