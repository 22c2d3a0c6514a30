#pragma once

namespace plat::system {

/// SIGTERM and SIGINT as the game takes them. Each one is a request to end: while the game's frame loop
/// watches for requests (it has a window to run in) it ends through its normal stop, which leaves no
/// file half-written; at any other time (before the window exists, while a message box waits) the
/// process ends at once, as the signal would end it by default.
void InstallTerminationHandlers();

/// The number of termination requests so far.
int TerminationRequests();

/// Counts one more request, as a signal does; for tests.
void RequestTermination();

/// Whether a frame loop watches for requests (true) or a signal ends the process at once (false).
void SetTerminationWatched(bool watched);

/// Whether a frame loop watches for requests.
bool IsTerminationWatched();

/// Ends the process at once on a termination signal while it lives (a blocking wait that the frame loop
/// cannot break off), then puts the watch back as it was.
class ScopedTerminationAtOnce {
public:
    ScopedTerminationAtOnce();
    ~ScopedTerminationAtOnce();
    ScopedTerminationAtOnce(const ScopedTerminationAtOnce&) = delete;
    ScopedTerminationAtOnce& operator=(const ScopedTerminationAtOnce&) = delete;

private:
    bool m_previous;
};

} // namespace plat::system
