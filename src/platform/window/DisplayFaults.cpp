#include "platform/window/DisplayFaults.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat::window {

namespace {

DisplayFaultHandler g_handler = nullptr;

[[noreturn]] void Fault(const char* why) {
    if (g_handler)
        g_handler(why);
    std::fprintf(stderr, "fatal error: %s\n", why);
    std::fflush(stderr);
    std::_Exit(3);
}

const char* NameOf(Display* display) {
    const char* name = display ? DisplayString(display) : nullptr;
    return name && *name ? name : "of the game";
}

int OnRequestRefused(Display* display, XErrorEvent* error) {
    // Xlib's own handler would end the program here; every error that reaches this one is as final (SDL
    // sets handlers of its own around the requests it expects to fail).
    char text[160] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    char why[400];
    std::snprintf(why, sizeof why,
                  "the display %s refused a request of the game's window: %s (request %d.%d, resource 0x%lx)",
                  NameOf(display), text, error->request_code, error->minor_code, error->resourceid);
    Fault(why);
}

int OnConnectionLost(Display* display) {
    // Xlib ends the program when this returns, and no request may be made here: the fault path only writes.
    char why[300];
    std::snprintf(
        why, sizeof why,
        "the connection to the display %s was lost (another program closed the game's window, or the "
        "display ended)",
        NameOf(display));
    Fault(why);
}

} // namespace

void SetDisplayFaultHandler(DisplayFaultHandler handler) {
    g_handler = handler;
}

void RouteDisplayFaults() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0)
        return;
    XSetErrorHandler(&OnRequestRefused);
    XSetIOErrorHandler(&OnConnectionLost);
}

} // namespace plat::window
