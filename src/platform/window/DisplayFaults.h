#pragma once

namespace plat::window {

/// Ends the game when its display fails under it; it gets the reason (naming the display) and must not
/// return.
using DisplayFaultHandler = void (*)(const char* why);

/// Who ends the game on a display fault; null restores the plain end (the reason on standard error, then
/// status 3).
void SetDisplayFaultHandler(DisplayFaultHandler handler);

/// Sends the X display's errors (a request refused, the connection lost, as when another program closes
/// the game's window) to the fault handler instead of Xlib's own end (its message and status 1). Nothing
/// happens unless SDL's video runs on X11; StartVideo calls it once SDL's own handlers are in place.
void RouteDisplayFaults();

} // namespace plat::window
